// Standard MIDI Files through vsthost's reader. Whatever parses is a time-ordered list of channel
// messages at finite, non-negative times; written back as a file (one tick per frame at 44.1 kHz,
// the way render --midi-out writes what a plug-in sent) it parses again to the same messages at
// the same frames. A refusal always names its reason. Aborts where a property fails.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/vsthost/formats/SmfReader.h"
#include "tools/vsthost/formats/SmfWriter.h"

namespace {

constexpr double kRate = 44100.0;
// The writer's longest gap between two messages, in ticks (frames here).
constexpr int64_t kMaxWritableFrame = 0x0FFFFFFF;

bool ChannelMessage(const uint8_t bytes[3]) {
    const bool oneDataByte = (bytes[0] & 0xF0) == 0xC0 || (bytes[0] & 0xF0) == 0xD0;
    return bytes[0] >= 0x80 && bytes[0] < 0xF0 && bytes[1] < 0x80 && bytes[2] < 0x80 &&
           !(oneDataByte && bytes[2]);
}

bool WellFormed(const std::vector<TimedMidi>& midi) {
    for (size_t i = 0; i < midi.size(); ++i) {
        if (!std::isfinite(midi[i].seconds) || midi[i].seconds < 0 || !ChannelMessage(midi[i].bytes))
            return false;
        if (i > 0 && midi[i].seconds < midi[i - 1].seconds) return false;
    }
    return true;
}

int64_t Frame(const TimedMidi& m) {
    return std::llround(m.seconds * kRate);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<TimedMidi> read;
    std::string error;
    if (!ParseSmf(data, size, read, error)) {
        if (error.empty()) std::abort();  // a refusal without a reason
        return 0;
    }
    if (!WellFormed(read)) std::abort();
    if (!read.empty() && Frame(read.back()) > kMaxWritableFrame) return 0;
    std::vector<HostMidiMessage> messages(read.size());
    for (size_t i = 0; i < read.size(); ++i) {
        messages[i].frame = Frame(read[i]);
        std::memcpy(messages[i].bytes, read[i].bytes, 3);
    }
    const std::vector<uint8_t> written = EncodeSmf(messages, kRate);
    std::vector<TimedMidi> reread;
    if (!ParseSmf(written.data(), written.size(), reread, error)) std::abort();  // its own output refused
    if (reread.size() != read.size()) std::abort();
    for (size_t i = 0; i < read.size(); ++i)
        if (std::memcmp(read[i].bytes, reread[i].bytes, 3) != 0 || Frame(read[i]) != Frame(reread[i]))
            std::abort();
    return 0;
}
