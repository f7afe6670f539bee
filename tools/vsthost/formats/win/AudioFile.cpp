#include "tools/vsthost/formats/AudioFile.h"

#include <cctype>

#include "tools/vsthost/formats/FileBytes.h"
#include "tools/vsthost/formats/WavCodec.h"

namespace {

// A WAV file with the largest audio vsthost accepts, plus room for its header and other chunks.
constexpr size_t kMaxWavBytes = kMaxAudioSamples * 4 + (size_t{1} << 20);

}  // namespace

const char* AudioFileSupport() {
    return "RIFF WAV: PCM 16/24/32-bit and 32-bit float";
}

bool ReadAudioFile(const std::string& path, AudioData& out, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, kMaxWavBytes, bytes, error)) return false;
    std::string reason;
    if (!DecodeWav(bytes.data(), bytes.size(), out, reason)) {
        error = "cannot read audio file '" + path + "': " + reason;
        return false;
    }
    return true;
}

bool ContainerForPath(const std::string& path, AudioContainer& container, std::string& error) {
    std::string extension;
    size_t dot = path.find_last_of("./\\");
    if (dot != std::string::npos && path[dot] == '.')
        for (char c : path.substr(dot + 1))
            extension += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != "wav" && extension != "wave") {
        error = "this build writes WAV files only: name the output '.wav' (not '" + path + "')";
        return false;
    }
    container = AudioContainer::Wav;
    return true;
}

bool ContainerHoldsFloat(AudioContainer) {
    return true;
}

bool WriteAudioFile(const std::string& path, const AudioData& audio, AudioContainer, SampleFormat format,
                    std::string& error) {
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!EncodeWav(audio, format, bytes, reason)) {
        error = "cannot write '" + path + "': " + reason;
        return false;
    }
    return WriteFileBytes(path, bytes, error);
}
