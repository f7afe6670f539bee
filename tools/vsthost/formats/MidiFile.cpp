#include "tools/vsthost/formats/MidiFile.h"

#include "tools/vsthost/formats/FileBytes.h"
#include "tools/vsthost/formats/SmfReader.h"

namespace {

constexpr size_t kMaxMidiFileBytes = size_t{64} << 20;

}  // namespace

bool ReadMidiFile(const std::string& path, std::vector<TimedMidi>& out, std::string& error) {
    out.clear();
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, kMaxMidiFileBytes, bytes, error)) return false;
    std::string reason;
    if (!ParseSmf(bytes.data(), bytes.size(), out, reason)) {
        error = "'" + path + "' is not a valid Standard MIDI File: " + reason;
        return false;
    }
    return true;
}
