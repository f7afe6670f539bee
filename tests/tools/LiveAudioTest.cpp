// Audio played through an effect while its editor runs: the loop and its MIDI reach the plug-in
// at the right frames across the loop's end, the thread keeps to the wall clock, and processing
// is started and stopped around it as a host does.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tools/vsthost/editor/LiveAudio.h"
#include "tools/vsthost/host/PluginSession.h"

namespace {

constexpr int32_t kLoop = 1000;

// Both channels count the loop's frames, so every output sample says where it came from.
AudioData CountingLoop() {
    AudioData audio;
    audio.sampleRate = 44100;
    audio.channels.assign(2, std::vector<float>(kLoop));
    for (size_t i = 0; i < kLoop; ++i) audio.channels[0][i] = audio.channels[1][i] = static_cast<float>(i);
    return audio;
}

ScheduledEvent NoteOn(int64_t frame, uint8_t note) {
    ScheduledEvent e;
    e.frame = frame;
    e.bytes[0] = 0x90;
    e.bytes[1] = note;
    e.bytes[2] = 100;
    return e;
}

class LiveAudioTest : public ::testing::Test {
  protected:
    void Open(const char* module, int32_t blockSize) {
        std::string error;
        ASSERT_TRUE(session.Start(module, 44100, blockSize, error)) << error;
    }
    PluginSession session;
};

}  // namespace

// The test plug-in sends every event straight back, so the host's record shows the frame each one
// reached the plug-in at (block start + deltaFrames). Events at the loop's first and last frames
// and one past the loop (dropped) check the wrap in a block that spans the loop's end.
TEST_F(LiveAudioTest, LoopAndItsMidiWrapAtTheLoopsEnd) {
    Open(TEST_GAIN_MODULE, 64);
    HostedEffect& fx = session.Effect();
    fx.Resume();
    LoopedPlayback playback(fx, CountingLoop(),
                            {NoteOn(0, 60), NoteOn(500, 61), NoteOn(999, 62), NoteOn(kLoop, 63)}, 64);
    // 1000 = 15 blocks of 64 + 40: block 15 ends the loop after 40 frames and starts it again.
    for (int i = 0; i < 16; ++i) playback.ProcessBlock();
    const std::vector<std::vector<float>>& out = playback.Outputs();
    for (size_t i = 0; i < 64; ++i) {
        const float expected = static_cast<float>(i < 40 ? 960 + i : i - 40);
        ASSERT_EQ(out[0][i], expected) << i;
        ASSERT_EQ(out[1][i], expected) << i;
    }
    for (int i = 16; i < 47; ++i) playback.ProcessBlock();  // 3008 frames: into the fourth pass
    EXPECT_EQ(playback.Frames(), 47 * 64);

    std::vector<int64_t> frames;
    std::vector<int> notes;
    for (const HostMidiMessage& m : fx.Host().ReceivedMidi()) {
        frames.push_back(m.frame);
        notes.push_back(m.bytes[1]);
    }
    EXPECT_EQ(frames, (std::vector<int64_t>{0, 500, 999, 1000, 1500, 1999, 2000, 2500, 2999, 3000}));
    EXPECT_EQ(notes, (std::vector<int>{60, 61, 62, 60, 61, 62, 60, 61, 62, 60}));
    EXPECT_EQ(playback.EventsDelivered(), 10);
    fx.Suspend();
}

// A loop shorter than a block passes several times within one block, each pass with its MIDI.
TEST_F(LiveAudioTest, LoopShorterThanABlockRepeatsInsideTheBlock) {
    Open(TEST_GAIN_MODULE, 64);
    HostedEffect& fx = session.Effect();
    fx.Resume();
    AudioData shortLoop = CountingLoop();
    for (auto& channel : shortLoop.channels) channel.resize(24);
    LoopedPlayback playback(fx, shortLoop, {NoteOn(5, 60)}, 64);
    playback.ProcessBlock();
    EXPECT_EQ(playback.Outputs()[0][23], 23.0f);
    EXPECT_EQ(playback.Outputs()[0][24], 0.0f);
    EXPECT_EQ(playback.Outputs()[0][63], 15.0f);
    std::vector<int64_t> frames;
    for (const HostMidiMessage& m : fx.Host().ReceivedMidi()) frames.push_back(m.frame);
    EXPECT_EQ(frames, (std::vector<int64_t>{5, 29, 53}));
    fx.Suspend();
}

// Paced by the clock: never faster than real time, and not far slower on an idle plug-in. Start
// resumes the effect (the latency plug-in knows its delay only then) and Stop suspends it.
TEST_F(LiveAudioTest, ThreadKeepsToTheClockBetweenResumeAndSuspend) {
    constexpr int32_t kBlock = 2205;  // 50 ms
    Open(TEST_LATENCY_MODULE, kBlock);
    HostedEffect& fx = session.Effect();
    EXPECT_EQ(fx.Record()->initialDelay, 0);
    LiveAudio audio(fx, 44100, kBlock, CountingLoop(), {NoteOn(0, 60)});
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(audio.Start());
    EXPECT_EQ(fx.Record()->initialDelay, 64);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    audio.Stop();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(fx.Record()->initialDelay, 0);
    const double expected = elapsed / 0.05;
    EXPECT_LE(audio.BlocksProcessed(), static_cast<int64_t>(expected) + 2) << elapsed << " s";
    EXPECT_GE(audio.BlocksProcessed(), static_cast<int64_t>(expected / 2)) << elapsed << " s";
    // Every block wrapped the 1000-frame loop at least once and so carried the note again.
    EXPECT_GE(audio.EventsDelivered(), audio.BlocksProcessed());
    audio.Stop();  // a second stop does nothing
}
