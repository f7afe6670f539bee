#include <gtest/gtest.h>

#include <cmath>

#include "tools/vsthost/render/EventSchedule.h"
#include "tools/vsthost/render/TestSignal.h"

// Command-line notes: every field checked, nothing half-parsed.
TEST(NoteSpecTest, ParsesValidNotesAndRefusesTheRest) {
    NoteSpec n;
    std::string error;
    ASSERT_TRUE(ParseNoteSpec("0.5:60:100:0.25", n, error)) << error;
    EXPECT_EQ(n.start, 0.5);
    EXPECT_EQ(n.note, 60);
    EXPECT_EQ(n.velocity, 100);
    EXPECT_EQ(n.duration, 0.25);
    for (const char* bad :
         {"", "1:60:100", "1:60:100:1:5", "-1:60:100:1", "1:128:100:1", "1:60:0:1", "1:60:128:1",
          "1:60:100:0", "x:60:100:1", "1:60.5:100:1", "1:60:100:inf", "1:60:100:nan", "1::100:1"})
        EXPECT_FALSE(ParseNoteSpec(bad, n, error)) << bad;
}

// Frames are rounded, late events dropped, and a released note precedes its restart.
TEST(ScheduleEventsTest, OrdersByFrameWithReleasesBeforeRestarts) {
    std::vector<NoteSpec> notes = {{0.5, 60, 100, 0.5, 0}, {0.0, 60, 90, 0.5, 0}, {0.99, 61, 80, 1.0, 2}};
    std::vector<TimedMidi> file = {{0.25, {0xB0, 7, 100}}, {5.0, {0xB0, 7, 0}}};
    auto events = ScheduleEvents(file, notes, 100.0, 101);
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].frame, 0);
    EXPECT_EQ(events[0].bytes[0], 0x90);
    EXPECT_EQ(events[1].frame, 25);  // the controller
    EXPECT_EQ(events[2].frame, 50);
    EXPECT_EQ(events[2].bytes[0], 0x80);  // release of the first note ...
    EXPECT_EQ(events[3].frame, 50);
    EXPECT_EQ(events[3].bytes[0], 0x90);  // ... before the same note starts again
    EXPECT_EQ(events[4].frame, 99);
    EXPECT_EQ(events[4].bytes[0], 0x92);  // channel 3
    EXPECT_EQ(events[5].frame, 100);      // the note-off at 1.0 s; the one at 1.99 s is dropped
}

TEST(DemoTest, DemoNotesFitTheEightSecondDemo) {
    auto events = ScheduleEvents({}, DemoNotes(), 44100, 8 * 44100);
    EXPECT_EQ(events.size(), 2 * DemoNotes().size());
}

// The test signal is computed without the platform's sine, yet is a sine.
TEST(TestSignalTest, PortableSineMatchesTheLibrarySine) {
    for (double c = -3.0; c <= 3.0; c += 0.0123)
        EXPECT_NEAR(PortableSinCycles(c), std::sin(c * 6.283185307179586), 1e-12) << c;
    AudioData a = MakeTestSignal(48000, 48000);
    ASSERT_EQ(a.ChannelCount(), 2);
    EXPECT_EQ(a.channels[0][0], 0.0f);
    EXPECT_NE(a.channels[0][1000], a.channels[1][1000]);
}
