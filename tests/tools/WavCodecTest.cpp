#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tools/vsthost/formats/AudioFile.h"
#include "tools/vsthost/formats/FileBytes.h"
#include "tools/vsthost/formats/WavCodec.h"

namespace {

AudioData Ramp(int32_t channels, size_t frames) {
    AudioData a;
    a.sampleRate = 48000;
    a.channels.assign(static_cast<size_t>(channels), std::vector<float>(frames));
    for (size_t c = 0; c < a.channels.size(); ++c)
        for (size_t i = 0; i < frames; ++i)
            a.channels[c][i] = static_cast<float>((static_cast<int>(i) - 8) / 8.0) * (c + 1) / 4;
    return a;
}

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint8_t> Encoded(SampleFormat format, const AudioData& a = Ramp(2, 17)) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(EncodeWav(a, format, bytes, error)) << error;
    return bytes;
}

std::string DecodeError(const std::vector<uint8_t>& bytes) {
    AudioData out;
    std::string error;
    EXPECT_FALSE(DecodeWav(bytes.data(), bytes.size(), out, error));
    return error;
}

// Offset of the data chunk's size field in what EncodeWav writes for PCM (44-byte header).
constexpr size_t kPcmDataSize = 40;

// Writes a file's bytes whole and cut to their first `keep` bytes, reads both back as render
// does and checks that the cut one is flagged truncated and holds the whole one's first frames;
// `frames` receives how many it holds.
void ReadWholeAndCut(const std::string& extension, std::vector<uint8_t> bytes, size_t keep, size_t& frames) {
    const std::string whole = std::string(TEST_SCRATCH_DIR) + "/whole" + extension;
    const std::string cut = std::string(TEST_SCRATCH_DIR) + "/cut" + extension;
    std::string error;
    ASSERT_TRUE(WriteFileBytes(whole, bytes, error)) << error;
    bytes.resize(keep);
    ASSERT_TRUE(WriteFileBytes(cut, bytes, error)) << error;

    AudioData full, part;
    ASSERT_TRUE(ReadAudioFile(whole, full, error)) << error;
    EXPECT_FALSE(full.truncated);
    ASSERT_TRUE(ReadAudioFile(cut, part, error)) << error;
    EXPECT_TRUE(part.truncated);
    ASSERT_EQ(part.ChannelCount(), full.ChannelCount());
    ASSERT_LT(part.Frames(), full.Frames());
    for (size_t c = 0; c < part.channels.size(); ++c)
        for (size_t i = 0; i < part.Frames(); ++i) ASSERT_EQ(part.channels[c][i], full.channels[c][i]);
    frames = part.Frames();
}

}  // namespace

// What the codec writes it reads back: float bit-exact, PCM to within one step.
TEST(WavCodecTest, RoundTripsEveryFormat) {
    AudioData in = Ramp(3, 17);
    for (auto [format, step] :
         {std::pair{SampleFormat::Float32, 0.0}, std::pair{SampleFormat::Pcm16, 1 / 32767.0},
          std::pair{SampleFormat::Pcm24, 1 / 8388607.0}}) {
        std::vector<uint8_t> bytes = Encoded(format, in);
        AudioData out;
        std::string error;
        ASSERT_TRUE(DecodeWav(bytes.data(), bytes.size(), out, error)) << error;
        EXPECT_EQ(out.sampleRate, 48000);
        ASSERT_EQ(out.ChannelCount(), 3);
        ASSERT_EQ(out.Frames(), 17u);
        for (size_t c = 0; c < 3; ++c)
            for (size_t i = 0; i < 17; ++i)
                EXPECT_NEAR(out.channels[c][i], std::clamp(in.channels[c][i], -1.0f, 1.0f), step);
    }
}

TEST(WavCodecTest, PcmFullScaleAndClipping) {
    AudioData a;
    a.sampleRate = 44100;
    a.channels = {{1.0f, -1.0f, 2.0f, -2.0f, 0.0f}};
    std::vector<uint8_t> bytes = Encoded(SampleFormat::Pcm16, a);
    const uint8_t* s = bytes.data() + 44;
    EXPECT_EQ(s[0] | s[1] << 8, 0x7FFF);
    EXPECT_EQ(s[2] | s[3] << 8, 0x8001);
    EXPECT_EQ(s[4] | s[5] << 8, 0x7FFF);
    EXPECT_EQ(s[6] | s[7] << 8, 0x8000);
}

// 32-bit PCM and extensible headers from other writers are read; unknown chunks are skipped,
// padding respected, bytes beyond the RIFF size ignored.
TEST(WavCodecTest, ReadsPcm32ExtensibleWithExtraChunks) {
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F', 0,  0, 0, 0, 'W', 'A', 'V', 'E',
                              'L', 'I', 'S', 'T', 3,  0, 0, 0, 'a', 'b', 'c', 0,  // odd chunk + pad
                              'f', 'm', 't', ' ', 40, 0, 0, 0};
    std::vector<uint8_t> fmt(40, 0);
    fmt[0] = 0xFE, fmt[1] = 0xFF, fmt[2] = 1, fmt[4] = 0x44, fmt[5] = 0xAC, fmt[12] = 4, fmt[14] = 32,
    fmt[16] = 22;
    fmt[24] = 1;  // sub-format PCM
    b.insert(b.end(), fmt.begin(), fmt.end());
    b.insert(b.end(), {'d', 'a', 't', 'a', 8, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0, 0xC0});
    Put32(b, 4, static_cast<uint32_t>(b.size() - 8));
    b.insert(b.end(), {'j', 'u', 'n', 'k'});
    AudioData out;
    std::string error;
    ASSERT_TRUE(DecodeWav(b.data(), b.size(), out, error)) << error;
    EXPECT_EQ(out.sampleRate, 44100);
    ASSERT_EQ(out.Frames(), 2u);
    EXPECT_EQ(out.channels[0][0], 0.5f);
    EXPECT_EQ(out.channels[0][1], -0.5f);
}

// Malformed files are refused with a reason, never read out of bounds (ASan watches).
TEST(WavCodecTest, RefusesMalformedFiles) {
    std::vector<uint8_t> good = Encoded(SampleFormat::Pcm16);
    EXPECT_NE(DecodeError({}).find("not a RIFF WAVE"), std::string::npos);
    EXPECT_NE(DecodeError(std::vector<uint8_t>(good.begin(), good.begin() + 11)).find("not a RIFF"),
              std::string::npos);

    std::vector<uint8_t> cutFormat(good.begin(), good.begin() + 30);
    EXPECT_NE(DecodeError(cutFormat).find("'fmt ' chunk runs past the end"), std::string::npos);

    std::vector<uint8_t> partial = good;
    Put32(partial, kPcmDataSize, 3);
    EXPECT_NE(DecodeError(partial).find("whole frames"), std::string::npos);

    std::vector<uint8_t> eightBit = good;
    eightBit[34] = 8;
    EXPECT_NE(DecodeError(eightBit).find("8 bits"), std::string::npos);

    std::vector<uint8_t> noChannels = good;
    noChannels[22] = 0;
    EXPECT_NE(DecodeError(noChannels).find("channel count"), std::string::npos);

    std::vector<uint8_t> badAlign = good;
    badAlign[32] = 3;
    EXPECT_NE(DecodeError(badAlign).find("block alignment"), std::string::npos);

    std::vector<uint8_t> zeroRate = good;
    Put32(zeroRate, 24, 0);
    EXPECT_NE(DecodeError(zeroRate).find("sample rate"), std::string::npos);

    std::vector<uint8_t> adpcm = good;
    adpcm[20] = 2;
    EXPECT_NE(DecodeError(adpcm).find("format tag 2"), std::string::npos);

    std::vector<uint8_t> noData(good.begin(), good.begin() + 36);
    Put32(noData, 4, 28);
    EXPECT_NE(DecodeError(noData).find("no data chunk"), std::string::npos);

    std::vector<uint8_t> dataFirst = good;
    std::memcpy(dataFirst.data() + 12, "junk", 4);  // the fmt chunk is gone
    EXPECT_NE(DecodeError(dataFirst).find("before the fmt chunk"), std::string::npos);
}

// A file cut short in its data chunk (or whose header claims more data than follows) gives the
// whole frames before the cut and says it is truncated; the samples are those of the full file.
// Without a data chunk there is nothing to give. ASan watches every read near the cut.
TEST(WavCodecTest, TruncatedDataGivesTheWholeFramesPresent) {
    AudioData in = Ramp(3, 17);
    std::vector<uint8_t> full = Encoded(SampleFormat::Float32, in);  // 12 bytes per frame
    AudioData whole;
    std::string error;
    ASSERT_TRUE(DecodeWav(full.data(), full.size(), whole, error)) << error;
    EXPECT_FALSE(whole.truncated);

    struct Case {
        size_t cut;  // bytes removed from the end
        size_t frames;
    } cases[] = {{1, 16}, {5, 16}, {12, 16}, {13, 15}, {12 * 17, 0}};
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes(full.begin(), full.end() - static_cast<ptrdiff_t>(c.cut));
        AudioData out;
        ASSERT_TRUE(DecodeWav(bytes.data(), bytes.size(), out, error)) << c.cut << ": " << error;
        EXPECT_TRUE(out.truncated) << c.cut;
        ASSERT_EQ(out.ChannelCount(), 3);
        ASSERT_EQ(out.Frames(), c.frames) << c.cut;
        for (size_t ch = 0; ch < 3; ++ch)
            for (size_t i = 0; i < c.frames; ++i) ASSERT_EQ(out.channels[ch][i], whole.channels[ch][i]);
    }

    // A header claiming 4 GB of data over 17 frames of 16-bit PCM.
    std::vector<uint8_t> huge = Encoded(SampleFormat::Pcm16);
    Put32(huge, kPcmDataSize, 0xFFFFFFFF);
    AudioData out;
    ASSERT_TRUE(DecodeWav(huge.data(), huge.size(), out, error)) << error;
    EXPECT_TRUE(out.truncated);
    EXPECT_EQ(out.Frames(), 17u);

    // A RIFF size too small for the data that is there: all of it is read, nothing is missing.
    std::vector<uint8_t> shortRiff = Encoded(SampleFormat::Pcm16);
    Put32(shortRiff, 4, static_cast<uint32_t>(shortRiff.size() - 8 - 10));
    ASSERT_TRUE(DecodeWav(shortRiff.data(), shortRiff.size(), out, error)) << error;
    EXPECT_FALSE(out.truncated);
    EXPECT_EQ(out.Frames(), 17u);

    // Cut before or inside the data chunk's header: no audio at all.
    std::vector<uint8_t> pcm = Encoded(SampleFormat::Pcm16);
    for (size_t keep : {size_t{36}, size_t{40}, size_t{43}})
        EXPECT_NE(DecodeError(std::vector<uint8_t>(pcm.begin(), pcm.begin() + static_cast<ptrdiff_t>(keep)))
                      .find("no data chunk"),
                  std::string::npos)
            << keep;
}

// Reading a truncated file from disk, as render does, on either platform's reader (libsndfile on
// Linux, the codec above on Windows): the frames present, and the flag behind render's warning.
TEST(AudioFileTest, TruncatedFileGivesItsFramesAndSaysSo) {
    for (SampleFormat format : {SampleFormat::Pcm16, SampleFormat::Float32}) {
        const std::vector<uint8_t> bytes = Encoded(format, Ramp(2, 400));
        const size_t frameBytes = format == SampleFormat::Pcm16 ? 4 : 8;
        size_t frames = 0;
        // 100 frames and a byte of the one before
        ReadWholeAndCut(".wav", bytes, bytes.size() - 100 * frameBytes - 1, frames);
        EXPECT_EQ(frames, 299u);
    }
}

// A compressed file cut short (FLAC, where this build writes it) fails to decode at the cut: the
// frames before it are read and the file counts as truncated, as a cut WAV does.
TEST(AudioFileTest, CutCompressedFileGivesTheFramesBeforeTheCut) {
    AudioContainer flac;
    std::string error;
    if (!ContainerForPath("x.flac", flac, error)) GTEST_SKIP() << error;
    AudioData signal = Ramp(2, 20000);
    for (auto& channel : signal.channels)
        for (size_t i = 0; i < channel.size(); ++i) channel[i] = static_cast<float>(i % 200) / 400.0f - 0.25f;
    const std::string file = std::string(TEST_SCRATCH_DIR) + "/signal.flac";
    ASSERT_TRUE(WriteAudioFile(file, signal, flac, SampleFormat::Pcm24, error)) << error;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(file, 1 << 20, bytes, error)) << error;
    size_t frames = 0;
    ReadWholeAndCut(".flac", bytes, bytes.size() / 2, frames);
    EXPECT_GT(frames, 0u);
}

TEST(WavCodecTest, RefusesToEncodeShapelessAudio) {
    std::vector<uint8_t> bytes;
    std::string error;
    AudioData none;
    none.sampleRate = 44100;
    EXPECT_FALSE(EncodeWav(none, SampleFormat::Float32, bytes, error));
    AudioData ragged = Ramp(2, 4);
    ragged.channels[1].pop_back();
    EXPECT_FALSE(EncodeWav(ragged, SampleFormat::Float32, bytes, error));
}
