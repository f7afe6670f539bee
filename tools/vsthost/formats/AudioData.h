// Planar audio held in memory: one vector of samples per channel, all of equal length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct AudioData {
    int32_t sampleRate = 0;
    std::vector<std::vector<float>> channels;
    // Set by a reader that found fewer frames than the file's header declared.
    bool truncated = false;

    size_t Frames() const { return channels.empty() ? 0 : channels[0].size(); }
    int32_t ChannelCount() const { return static_cast<int32_t>(channels.size()); }
};

// Sample encodings vsthost writes.
enum class SampleFormat { Float32, Pcm16, Pcm24 };
// File formats vsthost writes (which ones a build offers: see AudioFile.h).
enum class AudioContainer { Wav, Flac, Aiff };

// Limits on what a file may declare before it is refused.
constexpr int32_t kMaxAudioChannels = 256;
constexpr int32_t kMaxSampleRate = 1536000;
constexpr size_t kMaxAudioSamples = size_t{1} << 29;  // all channels together (2 GB of floats)
