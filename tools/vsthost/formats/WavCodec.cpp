#include "tools/vsthost/formats/WavCodec.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

struct Format {
    uint16_t tag = 0;
    int32_t channels = 0;
    int32_t sampleRate = 0;
    int32_t bits = 0;
    int32_t blockAlign = 0;
};

bool ParseFormat(const uint8_t* p, uint32_t size, Format& f, std::string& error) {
    if (size < 16) {
        error = "the fmt chunk is too short";
        return false;
    }
    f.tag = Read16(p);
    f.channels = Read16(p + 2);
    uint32_t rate = Read32(p + 4);
    f.blockAlign = Read16(p + 12);
    f.bits = Read16(p + 14);
    if (f.tag == kFormatExtensible) {
        if (size < 40 || Read16(p + 16) < 22) {
            error = "the extensible fmt chunk is too short";
            return false;
        }
        f.tag = Read16(p + 24);  // the sub-format GUID starts with the plain format tag
    }
    if (f.tag != kFormatPcm && f.tag != kFormatFloat) {
        error = "unsupported sample encoding (format tag " + std::to_string(f.tag) + ")";
        return false;
    }
    bool bitsOk = f.tag == kFormatPcm ? (f.bits == 16 || f.bits == 24 || f.bits == 32) : f.bits == 32;
    if (!bitsOk) {
        error = "unsupported sample size of " + std::to_string(f.bits) + " bits";
        return false;
    }
    if (f.channels < 1 || f.channels > kMaxAudioChannels) {
        error = "unsupported channel count " + std::to_string(f.channels);
        return false;
    }
    if (rate < 1 || rate > static_cast<uint32_t>(kMaxSampleRate)) {
        error = "unsupported sample rate " + std::to_string(rate);
        return false;
    }
    f.sampleRate = static_cast<int32_t>(rate);
    if (f.blockAlign != f.channels * f.bits / 8) {
        error = "the block alignment does not match channels and sample size";
        return false;
    }
    return true;
}

float DecodeSample(const uint8_t* p, const Format& f) {
    if (f.tag == kFormatFloat) {
        uint32_t bits = Read32(p);
        float v;
        std::memcpy(&v, &bits, 4);
        return v;
    }
    switch (f.bits) {
        case 16:
            return static_cast<float>(static_cast<int16_t>(Read16(p)) / 32768.0);
        case 24: {
            int32_t v =
                static_cast<int32_t>(static_cast<uint32_t>(p[0]) << 8 | static_cast<uint32_t>(p[1]) << 16 |
                                     static_cast<uint32_t>(p[2]) << 24) >>
                8;
            return static_cast<float>(v / 8388608.0);
        }
        default:
            return static_cast<float>(static_cast<int32_t>(Read32(p)) / 2147483648.0);
    }
}

int32_t Quantise(float x, double scale, int32_t lo, int32_t hi) {
    if (!(x == x)) return 0;  // NaN
    double v = std::round(static_cast<double>(x) * scale);
    return static_cast<int32_t>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
}

}  // namespace

bool DecodeWav(const uint8_t* data, size_t size, AudioData& out, std::string& error) {
    out = AudioData{};
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
        error = "not a RIFF WAVE file";
        return false;
    }
    // Chunks end at the RIFF size or at the end of the file, whichever comes first.
    size_t end = std::min(size, static_cast<size_t>(Read32(data + 4)) + 8);
    size_t pos = 12;
    Format format;
    bool haveFormat = false;
    while (pos + 8 <= end) {
        const uint8_t* header = data + pos;
        uint32_t chunkSize = Read32(header + 4);
        size_t body = pos + 8;
        const bool isData = std::memcmp(header, "data", 4) == 0;
        // A data chunk cut short (a file truncated while copying or recording) still holds the
        // frames before the cut: those are read, and the caller is told. It may also reach past a
        // RIFF size that is too small, as long as the bytes are in the file. Any other chunk must
        // be whole.
        const bool cut = chunkSize > size - body;
        if (chunkSize > end - body && !isData) {
            error = std::string("the '") + std::string(reinterpret_cast<const char*>(header), 4) +
                    "' chunk runs past the end of the file";
            return false;
        }
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (!ParseFormat(data + body, chunkSize, format, error)) return false;
            haveFormat = true;
        } else if (isData) {
            if (!haveFormat) {
                error = "the data chunk comes before the fmt chunk";
                return false;
            }
            if (!cut && chunkSize % static_cast<uint32_t>(format.blockAlign) != 0) {
                error = "the data chunk does not hold whole frames";
                return false;
            }
            const size_t present = cut ? size - body : chunkSize;
            size_t frames = present / static_cast<uint32_t>(format.blockAlign);
            if (frames * static_cast<size_t>(format.channels) > kMaxAudioSamples) {
                error = "the file holds more audio than vsthost accepts";
                return false;
            }
            out.sampleRate = format.sampleRate;
            out.truncated = cut;
            out.channels.assign(static_cast<size_t>(format.channels), std::vector<float>(frames));
            size_t bytesPerSample = static_cast<size_t>(format.bits / 8);
            const uint8_t* p = data + body;
            for (size_t i = 0; i < frames; ++i)
                for (size_t c = 0; c < out.channels.size(); ++c, p += bytesPerSample)
                    out.channels[c][i] = DecodeSample(p, format);
            return true;
        }
        pos = body + chunkSize + (chunkSize & 1);  // chunks are padded to even sizes
    }
    error = haveFormat ? "the file has no data chunk" : "the file has no fmt chunk";
    return false;
}

namespace {

// The samples, interleaved, as 32-bit float or 16- or 24-bit PCM.
void PutSamples(std::vector<uint8_t>& out, const AudioData& audio, bool isFloat, uint32_t bits) {
    for (size_t i = 0; i < audio.Frames(); ++i) {
        for (size_t c = 0; c < audio.channels.size(); ++c) {
            float x = audio.channels[c][i];
            if (isFloat) {
                uint32_t raw;
                std::memcpy(&raw, &x, 4);
                Put32(out, raw);
            } else if (bits == 16) {
                Put16(out, static_cast<uint32_t>(Quantise(x, 32767.0, -32768, 32767)));
            } else {
                uint32_t v = static_cast<uint32_t>(Quantise(x, 8388607.0, -8388608, 8388607));
                out.push_back(static_cast<uint8_t>(v));
                out.push_back(static_cast<uint8_t>(v >> 8));
                out.push_back(static_cast<uint8_t>(v >> 16));
            }
        }
    }
}

}  // namespace

bool EncodeWav(const AudioData& audio, SampleFormat format, std::vector<uint8_t>& out, std::string& error) {
    out.clear();
    int32_t channels = audio.ChannelCount();
    size_t frames = audio.Frames();
    if (channels < 1 || channels > kMaxAudioChannels || audio.sampleRate < 1 ||
        audio.sampleRate > kMaxSampleRate) {
        error = "cannot write audio with " + std::to_string(channels) + " channels at " +
                std::to_string(audio.sampleRate) + " Hz";
        return false;
    }
    for (const auto& channel : audio.channels)
        if (channel.size() != frames) {
            error = "channels of unequal length";
            return false;
        }
    bool isFloat = format == SampleFormat::Float32;
    uint32_t bits = format == SampleFormat::Pcm16 ? 16 : format == SampleFormat::Pcm24 ? 24 : 32;
    uint32_t blockAlign = static_cast<uint32_t>(channels) * bits / 8;
    uint64_t dataBytes = static_cast<uint64_t>(frames) * blockAlign;
    uint32_t headerBytes = isFloat ? 4 + 26 + 12 + 8 : 4 + 24 + 8;
    if (dataBytes + headerBytes > 0xFFFFFFFFull - 1) {
        error = "the audio is too long for a WAV file";
        return false;
    }
    out.reserve(static_cast<size_t>(dataBytes) + headerBytes + 8);
    PutTag(out, "RIFF");
    Put32(out, static_cast<uint32_t>(headerBytes + dataBytes + (dataBytes & 1)));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, isFloat ? 18 : 16);
    Put16(out, isFloat ? kFormatFloat : kFormatPcm);
    Put16(out, static_cast<uint32_t>(channels));
    Put32(out, static_cast<uint32_t>(audio.sampleRate));
    Put32(out, static_cast<uint32_t>(audio.sampleRate) * blockAlign);
    Put16(out, blockAlign);
    Put16(out, bits);
    if (isFloat) {
        Put16(out, 0);  // no extension bytes
        PutTag(out, "fact");
        Put32(out, 4);
        Put32(out, static_cast<uint32_t>(frames));
    }
    PutTag(out, "data");
    Put32(out, static_cast<uint32_t>(dataBytes));
    PutSamples(out, audio, isFloat, bits);
    if (dataBytes & 1) out.push_back(0);
    return true;
}
