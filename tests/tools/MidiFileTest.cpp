#include <gtest/gtest.h>

#include "tools/vsthost/formats/FileBytes.h"
#include "tools/vsthost/formats/MidiFile.h"
#include "tools/vsthost/formats/SmfReader.h"

namespace {

std::string WriteTemp(const char* name, const std::vector<uint8_t>& bytes) {
    std::string path = std::string(TEST_SCRATCH_DIR) + "/" + name;
    std::string error;
    EXPECT_TRUE(WriteFileBytes(path, bytes, error)) << error;
    return path;
}

std::vector<uint8_t> Header(uint16_t format, uint16_t tracks, uint16_t division) {
    return {'M',
            'T',
            'h',
            'd',
            0,
            0,
            0,
            6,
            0,
            static_cast<uint8_t>(format),
            0,
            static_cast<uint8_t>(tracks),
            static_cast<uint8_t>(division >> 8),
            static_cast<uint8_t>(division)};
}

void AddTrack(std::vector<uint8_t>& file, const std::vector<uint8_t>& events) {
    uint32_t n = static_cast<uint32_t>(events.size());
    file.insert(file.end(), {'M', 'T', 'r', 'k', static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                             static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)});
    file.insert(file.end(), events.begin(), events.end());
}

// 96 ticks per quarter: 120 BPM, a note at tick 96, the tempo doubled at tick 96, the note
// released at tick 192 (a quarter note at 240 BPM later).
std::vector<uint8_t> Song() {
    std::vector<uint8_t> file = Header(0, 1, 96);
    AddTrack(file, {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo 500000 us per quarter
                    0x60, 0x90, 60,   100,                     // tick 96: note on
                    0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,  // tick 96: tempo 250000
                    0x60, 0x80, 60,   0,                       // tick 192: note off
                    0x00, 0xFF, 0x2F, 0x00});
    return file;
}

std::vector<TimedMidi> Parse(const std::vector<uint8_t>& file) {
    std::vector<TimedMidi> out;
    std::string error;
    EXPECT_TRUE(ParseSmf(file.data(), file.size(), out, error)) << error;
    return out;
}

std::string ParseError(const std::vector<uint8_t>& file) {
    std::vector<TimedMidi> out;
    std::string error;
    EXPECT_FALSE(ParseSmf(file.data(), file.size(), out, error));
    return error;
}

}  // namespace

// Messages are timed by the tempo map, meta events left out.
TEST(MidiFileTest, TimesMessagesByTheTempoMap) {
    std::vector<TimedMidi> messages;
    std::string error;
    ASSERT_TRUE(ReadMidiFile(WriteTemp("song.mid", Song()), messages, error)) << error;
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_DOUBLE_EQ(messages[0].seconds, 0.5);
    EXPECT_EQ(messages[0].bytes[0], 0x90);
    EXPECT_EQ(messages[0].bytes[1], 60);
    EXPECT_DOUBLE_EQ(messages[1].seconds, 0.75);
    EXPECT_EQ(messages[1].bytes[0], 0x80);
}

// Format 1: a tempo track governs the note tracks, which are merged in time; running status,
// one-byte messages and SysEx inside a track are understood.
TEST(MidiFileTest, MergesTracksWithRunningStatusAndSysEx) {
    std::vector<uint8_t> file = Header(1, 3, 480);
    AddTrack(file, {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40});  // 60 BPM, no end-of-track event
    AddTrack(file,
             {0x00, 0x91, 64,   90,   0x83, 0x60, 64,  0,  // running status: 480 ticks later, velocity 0
              0x00, 0xF0, 0x03, 0x7D, 0x01, 0xF7,          // SysEx is skipped
              0x00, 0xC1, 5,    0x00, 0xFF, 0x2F, 0x00});
    AddTrack(file, {0x81, 0x70, 0xB0, 7, 99, 0x00, 0xFF, 0x2F, 0x00});  // tick 240
    auto m = Parse(file);
    ASSERT_EQ(m.size(), 4u);
    EXPECT_DOUBLE_EQ(m[0].seconds, 0.0);
    EXPECT_EQ(m[0].bytes[0], 0x91);
    EXPECT_DOUBLE_EQ(m[1].seconds, 0.5);
    EXPECT_EQ(m[1].bytes[0], 0xB0);
    EXPECT_DOUBLE_EQ(m[2].seconds, 1.0);
    EXPECT_EQ(m[2].bytes[0], 0x91);
    EXPECT_EQ(m[2].bytes[2], 0);
    EXPECT_EQ(m[3].bytes[0], 0xC1);
    EXPECT_EQ(m[3].bytes[1], 5);
}

TEST(MidiFileTest, SmpteTimeIgnoresTempo) {
    std::vector<uint8_t> file = Header(0, 1, 0xE728);  // 25 frames per second, 40 ticks per frame
    AddTrack(file, {0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90, 0x83, 0x74, 0x90, 60, 100});  // tick 500
    auto m = Parse(file);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_DOUBLE_EQ(m[0].seconds, 0.5);
}

// Truncated and foreign files are errors with a reason, never reads out of bounds.
TEST(MidiFileTest, RefusesBrokenFiles) {
    std::vector<uint8_t> song = Song();
    for (size_t cut = 0; cut < song.size() - 4; ++cut) {
        std::vector<TimedMidi> out;
        std::string error;
        EXPECT_FALSE(ParseSmf(song.data(), cut, out, error)) << cut;
    }
    EXPECT_NE(ParseError(Header(2, 1, 96)).find("format 2"), std::string::npos);
    EXPECT_NE(ParseError(Header(0, 1, 0)).find("division"), std::string::npos);
    std::vector<uint8_t> noStatus = Header(0, 1, 96);
    AddTrack(noStatus, {0x00, 60, 100});
    EXPECT_NE(ParseError(noStatus).find("without a status"), std::string::npos);
    std::vector<uint8_t> longQuantity = Header(0, 1, 96);
    AddTrack(longQuantity, {0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 100});
    EXPECT_NE(ParseError(longQuantity).find("delta time"), std::string::npos);
    std::vector<uint8_t> hugeMeta = Header(0, 1, 96);
    AddTrack(hugeMeta, {0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F, 'a'});
    EXPECT_NE(ParseError(hugeMeta).find("cut off"), std::string::npos);
    std::vector<uint8_t> systemMessage = Header(0, 1, 96);
    AddTrack(systemMessage, {0x00, 0xF8});
    EXPECT_NE(ParseError(systemMessage).find("system message"), std::string::npos);

    std::vector<TimedMidi> messages;
    std::string error;
    EXPECT_FALSE(ReadMidiFile(WriteTemp("text.mid", {'h', 'e', 'l', 'l', 'o'}), messages, error));
    EXPECT_NE(error.find("text.mid"), std::string::npos) << error;
    EXPECT_FALSE(ReadMidiFile(std::string(TEST_SCRATCH_DIR) + "/absent.mid", messages, error));
}
