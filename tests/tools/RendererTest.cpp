#include <gtest/gtest.h>

#include "tools/vsthost/render/OfflineRenderer.h"
#include "tools/vsthost/host/PluginSession.h"
#include "tools/vsthost/render/TestSignal.h"

namespace {

class RendererTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(session.Start(TEST_GAIN_MODULE, 44100, 64, error)) << error;
    }

    AudioData Render(ProcessMode mode, const AudioData& input, const std::vector<ScheduledEvent>& events,
                     int64_t frames) {
        RenderSettings settings;
        settings.blockSize = 64;
        settings.mode = mode;
        settings.frames = frames;
        session.Effect().Resume();
        OfflineRenderer renderer(session.Effect(), settings);
        AudioData out = renderer.Render(input, events);
        session.Effect().Suspend();
        return out;
    }

    static ScheduledEvent Note(int64_t frame, uint8_t status, uint8_t note) {
        ScheduledEvent e;
        e.frame = frame;
        e.bytes[0] = status;
        e.bytes[1] = note;
        e.bytes[2] = 100;
        return e;
    }

    PluginSession session;
};

}  // namespace

// Samples pass through the plug-in exactly (gain 0.5 and 0.25 are exact in binary) in every
// processing mode, and the last, partial block is processed too.
TEST_F(RendererTest, OutputIsTheInputTimesTheProgramsGainInEveryMode) {
    session.Effect().SetProgram(1);
    AudioData input = MakeTestSignal(44100, 1000);
    for (ProcessMode mode : {ProcessMode::Replacing, ProcessMode::Accumulating, ProcessMode::Double}) {
        AudioData out = Render(mode, input, {}, 1000);
        ASSERT_EQ(out.ChannelCount(), 2);
        ASSERT_EQ(out.Frames(), 1000u);
        for (size_t i = 0; i < 1000; ++i) {
            ASSERT_EQ(out.channels[0][i], input.channels[0][i] * 0.5f) << i;
            ASSERT_EQ(out.channels[1][i], input.channels[1][i] * 0.25f) << i;
        }
    }
}

// A mono file feeds both inputs; beyond the file's end the input is silent.
TEST_F(RendererTest, MonoInputFeedsEveryChannelAndEndsInSilence) {
    AudioData mono;
    mono.sampleRate = 44100;
    mono.channels = {std::vector<float>(100, 0.5f)};
    AudioData out = Render(ProcessMode::Replacing, mono, {}, 200);
    EXPECT_EQ(out.channels[0][99], 0.5f);
    EXPECT_EQ(out.channels[1][99], 0.5f);
    EXPECT_EQ(out.channels[0][100], 0.0f);
    EXPECT_EQ(out.channels[1][199], 0.0f);
}

// Each event reaches the plug-in in the block that holds its frame, with the offset inside that
// block; the plug-in's echo therefore lands on the very frame it was scheduled for.
TEST_F(RendererTest, EventsArriveInTheirBlockWithTheirOffset) {
    std::vector<ScheduledEvent> events = {Note(0, 0x90, 60), Note(63, 0x80, 60),  Note(64, 0x90, 62),
                                          Note(64, 0xB0, 7), Note(130, 0x80, 62), Note(999, 0x90, 1)};
    AudioData input = MakeTestSignal(44100, 1000);
    Render(ProcessMode::Replacing, input, events, 1000);
    auto back = session.Host().ReceivedMidi();
    ASSERT_EQ(back.size(), events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(back[i].frame, events[i].frame) << i;
        EXPECT_EQ(back[i].deltaFrames, events[i].frame % 64) << i;
        EXPECT_EQ(back[i].bytes[0], events[i].bytes[0]) << i;
        EXPECT_EQ(back[i].bytes[1], events[i].bytes[1]) << i;
    }
}

// State survives a trip through a chunk into a fresh instance; foreign bytes are refused.
TEST_F(RendererTest, ProgramChunkRestoresTheParametersInAnotherInstance) {
    HostedEffect& fx = session.Effect();
    fx.SetParameter(0, 0.125f);
    fx.SetParameter(1, 0.75f);
    std::vector<uint8_t> chunk;
    ASSERT_TRUE(fx.GetChunk(false, chunk));

    PluginSession other;
    std::string error;
    ASSERT_TRUE(other.Start(TEST_GAIN_MODULE, 44100, 64, error)) << error;
    EXPECT_FALSE(other.Effect().SetChunk(false, {1, 2, 3}));
    EXPECT_EQ(other.Effect().GetParameter(0), 1.0f);
    ASSERT_TRUE(other.Effect().SetChunk(false, chunk));
    EXPECT_EQ(other.Effect().GetParameter(0), 0.125f);
    EXPECT_EQ(other.Effect().GetParameter(1), 0.75f);
}
