#include "plugbase/IPluginCore.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "tests/support/TestCore.h"

namespace {

// Records what the processing hook receives, then runs the default pass-through.
class ProbeCore : public TestCore {
  public:
    using TestCore::TestCore;
    void ProcessDouble(double** inputs, double** outputs, int frames) override {
        frameCounts.push_back(frames);
        lastInputs.clear();
        for (int i = 0; inputs != nullptr && i < InputCount(); ++i) lastInputs.push_back(inputs[i]);
        IPluginCore::ProcessDouble(inputs, outputs, frames);
    }
    std::vector<int> frameCounts;
    std::vector<double*> lastInputs;
};

// Protects identity and the channel-configuration parser.
TEST(CoreIdentity, NamesVersionAndFlags) {
    TestCore core;
    EXPECT_STREQ(core.EffectName(), "Test Effect");
    EXPECT_STREQ(core.MakerName(), "Test Maker");
    EXPECT_EQ(core.VersionDecimal(), 10100);
    EXPECT_EQ(core.HostKind(), HostId::NotAsked);
    EXPECT_EQ(core.SampleRate(), 44100.0);
    EXPECT_EQ(core.BlockSize(), 0);
    EXPECT_EQ(core.PendingEndEdit(), -1);
    const std::string longName(300, 'x');
    PluginDescriptor d;
    d.effectName = longName.c_str();
    d.productName = nullptr;
    IPluginCore named(d);
    EXPECT_EQ(std::string(named.EffectName()), std::string(127, 'x'));
    EXPECT_STREQ(named.ProductName(), "");
}

TEST(CoreChannels, ParsesConfigurationsAndLegalPairs) {
    TestCore core;
    ASSERT_EQ(core.ChannelConfigCount(), 2);
    EXPECT_EQ(core.ChannelConfig(1)->inputs, 2);
    EXPECT_EQ(core.InputCount(), 2);
    EXPECT_EQ(core.OutputCount(), 2);
    EXPECT_TRUE(core.IsLegalIo(1, -1));
    EXPECT_TRUE(core.IsLegalIo(2, 2));
    EXPECT_FALSE(core.IsLegalIo(1, 2));
    EXPECT_FALSE(core.IsLegalIo(3, -1));
    EXPECT_EQ(core.ChannelConfig(2), nullptr);
}

TEST(CoreChannels, OddTextsParseLikeScanf) {
    TestCore odd("x 3-z -1-4");
    ASSERT_EQ(odd.ChannelConfigCount(), 3);
    EXPECT_EQ(odd.ChannelConfig(0)->inputs, 0);
    EXPECT_EQ(odd.ChannelConfig(1)->inputs, 3);
    EXPECT_EQ(odd.ChannelConfig(1)->outputs, 0);
    EXPECT_EQ(odd.ChannelConfig(2)->inputs, -1);
    EXPECT_EQ(odd.InputCount(), 3);
    EXPECT_EQ(odd.OutputCount(), 4);
    EXPECT_TRUE(odd.IsLegalIo(7, 4));  // -1 in the configuration matches any count
    TestCore none(nullptr);
    EXPECT_EQ(none.ChannelConfigCount(), 0);
    EXPECT_FALSE(none.IsLegalIo(-1, -1));
}

// Protects SetBlockSize: same size untouched, new size zeroed and aligned.
TEST(CoreBlockSize, ResizesAndZeroesOnlyOnChange) {
    TestCore core;
    core.SetBlockSize(16);
    ASSERT_EQ(core.Input(0)->ScratchFrames(), 16);
    double* scratch = const_cast<InputChannel*>(core.Input(0))->Scratch();
    scratch[3] = 5.0;
    core.SetBlockSize(16);
    EXPECT_EQ(scratch[3], 5.0);
    core.SetBlockSize(8);
    EXPECT_EQ(core.Input(0)->ScratchFrames(), 8);
    EXPECT_EQ(const_cast<InputChannel*>(core.Input(0))->Scratch()[3], 0.0);
    EXPECT_EQ(core.BlockSize(), 8);
    // Every scratch block starts on a cache line, wherever the heap put it.
    for (int frames : {1, 8, 1000}) {
        core.SetBlockSize(frames);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(const_cast<InputChannel*>(core.Input(0))->Scratch()) % 64, 0u);
        EXPECT_EQ(core.Input(0)->ScratchFrames(), frames);
    }
    core.SetBlockSize(0);
    EXPECT_EQ(core.Input(0)->ScratchFrames(), 0);
}

// Protects the processing frame: pointer assignment, conversion, replacing and accumulating.
class CoreFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        core.SetBlockSize(kBlock);
        core.ConnectInputs(0, 2, true);
        core.ConnectOutputs(0, 2, true);
        for (int i = 0; i < kLong; ++i) {
            left[i] = static_cast<float>(i) * 0.5f;
            right[i] = -static_cast<float>(i);
        }
    }
    static constexpr int kBlock = 64;
    static constexpr int kLong = 200;
    ProbeCore core;
    float left[kLong] = {};
    float right[kLong] = {};
    float outLeft[kLong] = {};
    float outRight[kLong] = {};
};

TEST_F(CoreFrame, ReplacingCopiesThroughTheDefaultHook) {
    const float* ins[] = {left, right};
    float* outs[] = {outLeft, outRight};
    core.AttachInputs(ins, 32);
    core.AttachOutputs(outs);
    core.RunReplacing(32);
    for (int i = 0; i < 32; ++i) {
        ASSERT_EQ(outLeft[i], left[i]);
        ASSERT_EQ(outRight[i], right[i]);
    }
    EXPECT_EQ(outLeft[32], 0.0f);
}

TEST_F(CoreFrame, AccumulatingAddsToTheHostBlocks) {
    std::fill(outLeft, outLeft + kLong, 1.0f);
    const float* ins[] = {left, right};
    float* outs[] = {outLeft, outRight};
    core.AttachInputs(ins, 16);
    core.AttachOutputs(outs);
    core.RunAccumulating(16);
    for (int i = 0; i < 16; ++i) ASSERT_EQ(outLeft[i], left[i] + 1.0f);
    EXPECT_EQ(outLeft[16], 1.0f);
}

TEST_F(CoreFrame, DisconnectedInputTakesNoHostPointer) {
    core.ConnectInputs(1, 1, false);
    const float* ins[] = {left};  // the host passes one block for the one connected input
    float* outs[] = {outLeft, outRight};
    core.AttachInputs(ins, 8);
    core.AttachOutputs(outs);
    core.RunReplacing(8);
    ASSERT_EQ(core.lastInputs.size(), 2u);
    EXPECT_EQ(core.lastInputs[1], const_cast<InputChannel*>(core.Input(1))->Scratch());
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(outLeft[i], left[i]);
        ASSERT_EQ(outRight[i], 0.0f);  // its scratch is silent
    }
}

TEST_F(CoreFrame, DefaultHookZeroesOutputsWithoutAnInput) {
    ProbeCore mono("1-2");
    mono.SetBlockSize(8);
    mono.ConnectInputs(0, 1, true);
    mono.ConnectOutputs(0, 2, true);
    std::fill(outRight, outRight + 8, 9.0f);
    const float* ins[] = {left};
    float* outs[] = {outLeft, outRight};
    mono.AttachInputs(ins, 8);
    mono.AttachOutputs(outs);
    mono.RunReplacing(8);
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(outLeft[i], left[i]);
        ASSERT_EQ(outRight[i], 0.0f);
    }
}

TEST_F(CoreFrame, SixtyFourBitPassesHostBlocksStraight) {
    double in[2][16];
    double out[2][16];
    for (int i = 0; i < 16; ++i) in[0][i] = i + 0.25, in[1][i] = -i - 0.125;
    double* ins[] = {in[0], in[1]};
    double* outs[] = {out[0], out[1]};
    core.AttachInputs64(ins);
    core.AttachOutputs64(outs);
    core.Run64(16);
    EXPECT_EQ(core.lastInputs[0], in[0]);
    for (int i = 0; i < 16; ++i) ASSERT_EQ(out[1][i], in[1][i]);
}

// Protects blocks longer than the block size: processed in sub-blocks, every frame, no overflow.
TEST_F(CoreFrame, LongBlocksAreProcessedInSubBlocks) {
    const float* ins[] = {left, right};
    float* outs[] = {outLeft, outRight};
    core.AttachInputs(ins, kLong);
    core.AttachOutputs(outs);
    core.RunReplacing(kLong);
    EXPECT_EQ(core.frameCounts, (std::vector<int>{64, 64, 64, 8}));
    for (int i = 0; i < kLong; ++i) {
        ASSERT_EQ(outLeft[i], left[i]) << i;
        ASSERT_EQ(outRight[i], right[i]) << i;
    }
}

TEST_F(CoreFrame, LongInPlaceBlocksKeepEveryInputSample) {
    std::vector<float> expected(left, left + kLong);
    const float* ins[] = {left, right};
    float* outs[] = {left, right};  // hosts often process in place
    core.AttachInputs(ins, kLong);
    core.AttachOutputs(outs);
    core.RunReplacing(kLong);
    for (int i = 0; i < kLong; ++i) ASSERT_EQ(left[i], expected[static_cast<size_t>(i)]) << i;
}

TEST_F(CoreFrame, LongSixtyFourBitBlocksWithADisconnectedOutput) {
    core.ConnectOutputs(1, 1, false);
    std::vector<double> in(kLong, 0.5), in2(kLong, 0.25), out(kLong, 9.0);
    double* ins[] = {in.data(), in2.data()};
    double* outs[] = {out.data()};
    core.AttachInputs64(ins);
    core.AttachOutputs64(outs);
    core.Run64(kLong);
    EXPECT_EQ(core.frameCounts.size(), 4u);
    for (double v : out) ASSERT_EQ(v, 0.5);
}

TEST_F(CoreFrame, WithoutABlockSizeTheOutputIsSilent) {
    ProbeCore fresh;
    fresh.ConnectInputs(0, 2, true);
    fresh.ConnectOutputs(0, 2, true);
    std::fill(outLeft, outLeft + 8, 3.0f);
    const float* ins[] = {left, right};
    float* outs[] = {outLeft, outRight};
    fresh.AttachInputs(ins, 8);
    fresh.AttachOutputs(outs);
    fresh.RunReplacing(8);
    EXPECT_TRUE(fresh.frameCounts.empty());
    for (int i = 0; i < 8; ++i) ASSERT_EQ(outLeft[i], 0.0f);
}

TEST_F(CoreFrame, HostPointersAreForgottenAfterTheRun) {
    const float* ins[] = {left, right};
    float* outs[] = {outLeft, outRight};
    core.AttachInputs(ins, 8);
    core.AttachOutputs(outs);
    core.RunReplacing(8);
    std::fill(outLeft, outLeft + 8, 7.0f);
    core.RunReplacing(8);  // no attach: nothing may be written into the old host blocks
    EXPECT_EQ(outLeft[0], 7.0f);
    core.AttachInputs(nullptr, 8);  // a host passing no arrays reads silence
    core.AttachOutputs(nullptr);
    core.RunReplacing(8);
}

// Protects the parameter flow and the lock around it.
TEST(CoreParameterFlow, EditorChangeSetsAutomatesAndNotifiesUnderTheLock) {
    struct LockProbe : TestCore {
        void OnParameterChange(int index) override {
            TestCore::OnParameterChange(index);
            lockedElsewhere = std::async(std::launch::async, [this] {
                                  const bool got = Lock().try_lock();
                                  if (got) Lock().unlock();
                                  return !got;
                              }).get();
        }
        bool lockedElsewhere = false;
    } core;
    core.ApplyParameterFromEditor(4, 0.5);
    EXPECT_EQ(core.Parameter(4)->PlainValue(), 50.0);
    ASSERT_EQ(core.automated.size(), 1u);
    EXPECT_EQ(core.automated[0].second, 0.5);
    EXPECT_EQ(core.changes, std::vector<int>{4});
    EXPECT_TRUE(core.lockedElsewhere);
    core.ApplyParameterFromEditor(9, 0.5);
    EXPECT_EQ(core.automated.size(), 1u);
}

TEST(CoreParameterFlow, HostChangeShowsTheEditorTheValueAsSent) {
    TestCore core;
    auto* editor = AttachNewEditor<FakeEditor>(core);
    editor->shown.clear();
    core.ApplyParameterFromHost(7, 0.5, true);  // Choice 0..2
    EXPECT_EQ(core.Parameter(7)->PlainValue(), 1.0);
    ASSERT_EQ(editor->shown.size(), 1u);
    EXPECT_EQ(editor->shown[0].value, 0.5);
    EXPECT_TRUE(editor->shown[0].isNormalized);
    core.ApplyParameterFromHost(TestCore::kParams, 0.5, true);
    EXPECT_EQ(editor->shown.size(), 1u);

    // A plain value (a parsed text) is shown as sent and stored clamped to the range.
    core.changes.clear();
    core.ApplyParameterFromHost(5, 250.0, false);  // Offset -100..100
    EXPECT_EQ(core.Parameter(5)->PlainValue(), 100.0);
    ASSERT_EQ(editor->shown.size(), 2u);
    EXPECT_EQ(editor->shown[1].value, 250.0);
    EXPECT_FALSE(editor->shown[1].isNormalized);
    EXPECT_EQ(core.changes, std::vector<int>{5});
    EXPECT_TRUE(core.automated.empty());
}

TEST(CoreEditor, AttachShowsNormalisedValuesPreparesAndOwns) {
    int destroyed = 0;
    {
        TestCore core;
        core.AttachEditor(nullptr);
        EXPECT_EQ(core.Editor(), nullptr);
        auto* editor = AttachNewEditor<FakeEditor>(core, 24, &destroyed);
        ASSERT_EQ(editor->shown.size(), static_cast<size_t>(TestCore::kParams));
        EXPECT_EQ(editor->shown[4].value, 1.0);  // Width 100 of 0..100
        EXPECT_TRUE(editor->shown[4].isNormalized);
        EXPECT_EQ(editor->prepared, 1);
        editor->shown.clear();
        core.PushValuesToEditor();
        EXPECT_EQ(editor->shown[4].value, 100.0);
        EXPECT_FALSE(editor->shown[4].isNormalized);
        core.AttachEditor(std::make_unique<FakeEditor>(24, &destroyed));  // replacing destroys the old one
        EXPECT_EQ(destroyed, 1);
    }
    EXPECT_EQ(destroyed, 2);
}

// Protects the delayed end of wheel gestures.
TEST(CoreEndEdit, RepeatedWheelStepsEndOnce) {
    TestCore core;
    auto* editor = AttachNewEditor<FakeEditor>(core, 24);
    core.EndEditLater(2);
    core.EndEditLater(2);
    EXPECT_TRUE(core.endEdits.empty());
    EXPECT_EQ(editor->countdowns, (std::vector<int>{12, 12}));
    core.FlushPendingEndEdit();
    core.FlushPendingEndEdit();
    EXPECT_EQ(core.endEdits, std::vector<int>{2});
    EXPECT_EQ(editor->cancels, 2);
    EXPECT_EQ(core.PendingEndEdit(), -1);
}

TEST(CoreEndEdit, AnotherParameterEndsThePendingOneAndSlowTimersGetOneTick) {
    TestCore core;
    auto* editor = AttachNewEditor<FakeEditor>(core, 1);
    core.EndEditLater(2);
    core.EndEditLater(3);
    EXPECT_EQ(core.endEdits, std::vector<int>{2});
    EXPECT_EQ(editor->countdowns, (std::vector<int>{1, 1}));
    core.FlushPendingEndEdit();
    EXPECT_EQ(core.endEdits, (std::vector<int>{2, 3}));
}

TEST(CoreEndEdit, WithoutAnEditorEndsAtOnce) {
    TestCore core;
    core.EndEditLater(5);
    EXPECT_EQ(core.endEdits, std::vector<int>{5});
    EXPECT_EQ(core.PendingEndEdit(), -1);
}

// Protects the MIDI helpers of the core and the MIDI record.
TEST(CoreMidi, SendMidiEventsReportsWhetherAllWentOut) {
    TestCore core;
    EXPECT_TRUE(core.SendMidiEvents(nullptr, 0));
    const IMidiEvent events[3] = {{0, 0x90, 60, 100}, {5, 0x80, 60, 0}, {9, 0xB0, 7, 1}};
    EXPECT_TRUE(core.SendMidiEvents(events, 3));
    core.sendResult = false;
    EXPECT_FALSE(core.SendMidiEvents(events, 3));
    EXPECT_EQ(core.sent.size(), 6u);  // every event is still offered
    char name[8] = "junk";
    EXPECT_FALSE(core.MidiNoteName(60, name, sizeof name));
    EXPECT_STREQ(name, "");
}

TEST(CoreMidi, KindAndVelocity) {
    EXPECT_EQ((IMidiEvent{0, 0x90, 60, 0}).Kind(), MidiKind::NoteOn);
    EXPECT_EQ((IMidiEvent{0, 0x90, 60, 0}).Velocity(), 0);
    EXPECT_EQ((IMidiEvent{0, 0xF8, 0, 0}).Kind(), MidiKind::None);
    EXPECT_EQ((IMidiEvent{0, 0x45, 0, 0}).Kind(), MidiKind::None);
    EXPECT_EQ((IMidiEvent{0, 0xEF, 1, 2}).Kind(), MidiKind::PitchWheel);
    EXPECT_EQ((IMidiEvent{0, 0xB0, 1, 2}).Velocity(), -1);
}

}  // namespace
