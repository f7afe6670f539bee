// RIFF WAVE files through the codec vsthost reads them with on Windows. Whatever decodes has the
// shape the reader promises, is written as 32-bit float and decodes again to the same samples bit
// for bit, and written as 16- and 24-bit PCM decodes to the same samples within one and a half steps
// of the format (the writer scales by 2^(bits-1) - 1, the reader by 2^(bits-1), as libsndfile does
// on Linux); a refusal always names its reason. Aborts where a property fails.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/vsthost/formats/WavCodec.h"

namespace {

bool WellFormed(const AudioData& audio) {
    if (audio.ChannelCount() < 1 || audio.ChannelCount() > kMaxAudioChannels || audio.sampleRate < 1 ||
        audio.sampleRate > kMaxSampleRate)
        return false;
    for (const auto& channel : audio.channels)
        if (channel.size() != audio.Frames()) return false;
    return true;
}

bool SameShape(const AudioData& a, const AudioData& b) {
    return a.sampleRate == b.sampleRate && a.ChannelCount() == b.ChannelCount() && a.Frames() == b.Frames() &&
           !b.truncated;
}

AudioData Rewritten(const AudioData& audio, SampleFormat format) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!EncodeWav(audio, format, bytes, error)) std::abort();  // what was read cannot be written
    AudioData again;
    if (!DecodeWav(bytes.data(), bytes.size(), again, error) || !SameShape(audio, again)) std::abort();
    return again;
}

// PCM holds [-1, 1]; NaN is written as silence.
bool WithinTolerance(float written, float read, double tolerance) {
    const double expected = std::isnan(written) ? 0.0 : std::fmax(-1.0, std::fmin(1.0, written));
    return std::fabs(read - expected) <= tolerance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AudioData audio;
    std::string error;
    if (!DecodeWav(data, size, audio, error)) {
        if (error.empty()) std::abort();  // a refusal without a reason
        return 0;
    }
    if (!WellFormed(audio)) std::abort();
    const AudioData floats = Rewritten(audio, SampleFormat::Float32);
    for (size_t c = 0; c < audio.channels.size(); ++c)
        if (audio.Frames() > 0 && std::memcmp(audio.channels[c].data(), floats.channels[c].data(),
                                              audio.Frames() * sizeof(float)) != 0)
            std::abort();
    for (SampleFormat format : {SampleFormat::Pcm16, SampleFormat::Pcm24}) {
        const double tolerance = 1.5 / (format == SampleFormat::Pcm16 ? 32767 : 8388607);
        const AudioData pcm = Rewritten(audio, format);
        for (size_t c = 0; c < audio.channels.size(); ++c)
            for (size_t i = 0; i < audio.Frames(); ++i)
                if (!WithinTolerance(audio.channels[c][i], pcm.channels[c][i], tolerance)) std::abort();
    }
    return 0;
}
