#include "tools/vsthost/formats/AudioFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

namespace {

// Closes the handle on every path out.
struct SndFile {
    SNDFILE* handle = nullptr;
    ~SndFile() {
        if (handle) sf_close(handle);
    }
};

// libsndfile shortens an audio chunk that runs past the end of the file to the bytes present and
// reports the frames of that, so the frame count alone never shows a truncated WAV or AIFF file.
// Its log says so: "data : 17640 (should be 16639)" (AIFF: "SSND : ...").
bool LogShowsCutAudioChunk(SNDFILE* handle) {
    std::vector<char> log(65536, '\0');
    sf_command(handle, SFC_GET_LOG_INFO, log.data(), static_cast<int>(log.size()) - 1);
    std::istringstream lines(std::string(log.data()));
    std::string line;
    while (std::getline(lines, line)) {
        size_t first = line.find_first_not_of(' ');
        if (first == std::string::npos) continue;
        bool audioChunk = line.compare(first, 4, "data") == 0 || line.compare(first, 4, "SSND") == 0;
        if (audioChunk && line.find("(should be ") != std::string::npos) return true;
    }
    return false;
}

}  // namespace

const char* AudioFileSupport() {
    return "any format libsndfile reads (WAV, AIFF, FLAC, ...)";
}

bool ReadAudioFile(const std::string& path, AudioData& out, std::string& error) {
    out = AudioData{};
    SF_INFO info{};
    SndFile file;
    file.handle = sf_open(path.c_str(), SFM_READ, &info);
    if (!file.handle) {
        error = "cannot read audio file '" + path + "': " + sf_strerror(nullptr);
        return false;
    }
    if (info.channels < 1 || info.channels > kMaxAudioChannels || info.samplerate < 1 ||
        info.samplerate > kMaxSampleRate || info.frames < 0 ||
        static_cast<uint64_t>(info.frames) * static_cast<uint64_t>(info.channels) > kMaxAudioSamples) {
        error = "audio file '" + path + "' has unsupported dimensions (" + std::to_string(info.channels) +
                " channels, " + std::to_string(info.samplerate) + " Hz, " + std::to_string(info.frames) +
                " frames)";
        return false;
    }
    out.sampleRate = info.samplerate;
    out.channels.assign(static_cast<size_t>(info.channels), {});
    for (auto& channel : out.channels) channel.reserve(static_cast<size_t>(info.frames));
    // Read in pieces and believe only what arrives: the header's frame count may be wrong.
    constexpr sf_count_t kPieceFrames = 4096;
    std::vector<float> piece(static_cast<size_t>(kPieceFrames * info.channels));
    for (;;) {
        sf_count_t n = sf_readf_float(file.handle, piece.data(), kPieceFrames);
        if (n <= 0) break;
        if (static_cast<sf_count_t>(out.Frames()) + n > info.frames)
            n = info.frames - static_cast<sf_count_t>(out.Frames());
        for (size_t i = 0, count = static_cast<size_t>(n); i < count; ++i)
            for (size_t c = 0; c < out.channels.size(); ++c)
                out.channels[c].push_back(piece[i * out.channels.size() + c]);
        if (n < kPieceFrames) break;
    }
    out.truncated = out.Frames() < static_cast<size_t>(info.frames) || LogShowsCutAudioChunk(file.handle);
    // A compressed stream cut short fails where the cut is (FLAC: "lost sync"): what was decoded
    // up to there is the truncated file's audio, as for a cut WAV.
    if (sf_error(file.handle) != SF_ERR_NO_ERROR && !(out.truncated && out.Frames() > 0)) {
        error = "error reading audio file '" + path + "': " + sf_strerror(file.handle);
        out = AudioData{};
        return false;
    }
    return true;
}

bool ContainerForPath(const std::string& path, AudioContainer& container, std::string& error) {
    std::string extension;
    size_t dot = path.find_last_of("./");
    if (dot != std::string::npos && path[dot] == '.')
        for (char c : path.substr(dot + 1))
            extension += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "wav" || extension == "wave") {
        container = AudioContainer::Wav;
    } else if (extension == "flac") {
        container = AudioContainer::Flac;
    } else if (extension == "aif" || extension == "aiff") {
        container = AudioContainer::Aiff;
    } else {
        error = "cannot tell the audio format from '" + path + "': name it .wav, .flac or .aiff";
        return false;
    }
    return true;
}

bool ContainerHoldsFloat(AudioContainer container) {
    return container != AudioContainer::Flac;
}

bool WriteAudioFile(const std::string& path, const AudioData& audio, AudioContainer container,
                    SampleFormat format, std::string& error) {
    int32_t channels = audio.ChannelCount();
    if (channels < 1 || audio.sampleRate < 1) {
        error = "no audio to write";
        return false;
    }
    SF_INFO info{};
    info.samplerate = audio.sampleRate;
    info.channels = channels;
    info.format = (container == AudioContainer::Flac   ? SF_FORMAT_FLAC
                   : container == AudioContainer::Aiff ? SF_FORMAT_AIFF
                                                       : SF_FORMAT_WAV) |
                  (format == SampleFormat::Pcm16   ? SF_FORMAT_PCM_16
                   : format == SampleFormat::Pcm24 ? SF_FORMAT_PCM_24
                                                   : SF_FORMAT_FLOAT);
    SndFile file;
    file.handle = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file.handle) {
        error = "cannot create '" + path + "': " + sf_strerror(nullptr);
        return false;
    }
    sf_command(file.handle, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    size_t frames = audio.Frames();
    constexpr size_t kPieceFrames = 4096;
    std::vector<float> piece(kPieceFrames * static_cast<size_t>(channels));
    for (size_t start = 0; start < frames; start += kPieceFrames) {
        size_t n = std::min(kPieceFrames, frames - start);
        for (size_t i = 0; i < n; ++i)
            for (size_t c = 0; c < audio.channels.size(); ++c)
                piece[i * audio.channels.size() + c] = audio.channels[c][start + i];
        if (sf_writef_float(file.handle, piece.data(), static_cast<sf_count_t>(n)) !=
            static_cast<sf_count_t>(n)) {
            error = "cannot write '" + path + "': " + sf_strerror(file.handle);
            return false;
        }
    }
    return true;
}
