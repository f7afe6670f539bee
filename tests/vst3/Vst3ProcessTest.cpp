// Processing: both sample sizes, notes in and out, values applied at the block start, flushes.
#include "tests/vst3/Vst3Fixture.h"
#include "tools/vsthost/host/vst3/ProcessBlock.h"

namespace {

class Vst3Process : public Vst3Fixture {
  protected:
    // Full width, no offset, no boost, every note to the right and held for five seconds, as
    // values of the block that brings the note.
    void PanHardRightOnNote() {
        const std::pair<vst3::ParamID, double> values[] = {
            {kAttack, 0}, {kHold, 5000}, {kWidth, 100}, {kOffset, 0}, {kSides, 0}, {kSide, 2}, {kNoteOff, 2}};
        for (const auto& [id, plain] : values)
            changesIn.Add(id, 0, controller->plainParamToNormalized(id, plain));
        eventsIn.AddNote(true, 60, 100, 0);
    }
};

}  // namespace

// The pan law at the right edge in 32 and 64 bits, with the values and the note of the first
// block taking effect at its start.
TEST_F(Vst3Process, PanLawHardRightBothSizes) {
    PanHardRightOnNote();
    Process(kBlockSize, 0.3, 0.375);  // the pan travels to +1 in this block
    Process(kBlockSize, 0.3, 0.375);
    for (size_t i = 0; i < kBlockSize; ++i) {
        ASSERT_EQ(outL[i], 0.0f) << i;
        ASSERT_EQ(outR[i], 0.75f) << i;
    }
    Process(64, 0.5, -0.125, vst3::kSample64);
    EXPECT_EQ(outL64[63], 0.0);
    EXPECT_EQ(outR64[63], -0.25);
}

// Notes and poly pressure leave unchanged, at their offsets, on the event output.
TEST_F(Vst3Process, NotesPassThrough) {
    eventsIn.AddNote(true, 60, 100, 3);
    eventsIn.AddNote(false, 60, 0, 9);
    vst3::Event pressure{};
    pressure.type = vst3::kPolyPressureEvent;
    pressure.sampleOffset = 12;
    pressure.polyPressure = {5, 64, 10.0f / 127, -1};
    eventsIn.addEvent(pressure);
    Process(32, 0, 0);
    const auto& out = eventsOut.Events();
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].type, vst3::kNoteOnEvent);
    EXPECT_EQ(out[0].sampleOffset, 3);
    EXPECT_EQ(out[0].noteOn.pitch, 60);
    EXPECT_EQ(out[0].noteOn.velocity, 100.0f / 127);
    EXPECT_EQ(out[1].type, vst3::kNoteOffEvent);
    EXPECT_EQ(out[1].sampleOffset, 9);
    EXPECT_EQ(out[2].type, vst3::kPolyPressureEvent);
    EXPECT_EQ(out[2].polyPressure.channel, 5);
    EXPECT_EQ(out[2].polyPressure.pressure, 10.0f / 127);
}

// A flush (no samples, no buffers) applies values; a mono arrangement processes one channel;
// buffers that do not fit the arrangement are refused.
TEST_F(Vst3Process, FlushMonoAndMismatch) {
    vst3::ProcessData flush{};
    changesIn.Add(kHold, 0, controller->plainParamToNormalized(kHold, 4000));
    flush.inputParameterChanges = &changesIn;
    ASSERT_EQ(fx->Processor()->process(flush), vst3::kResultOk);
    EXPECT_EQ(Plain(kHold), 4000);

    fx->Stop();
    vst3::SpeakerArrangement mono = vst3::kSpeakerArrMono;
    ASSERT_EQ(fx->Processor()->setBusArrangements(&mono, 1, &mono, 1), vst3::kResultTrue);
    ASSERT_TRUE(fx->Start(kSampleRate, kBlockSize, vst3::kSample32));
    std::vector<float> in(16, 0.5f), out(16, 7.0f);
    float* ins[1] = {in.data()};
    float* outs[1] = {out.data()};
    ProcessBlock block(ins, outs, 1, 16);
    ASSERT_EQ(fx->Processor()->process(block.Data()), vst3::kResultOk);
    EXPECT_NE(out[15], 7.0f);
    block.Input().numChannels = 2;
    EXPECT_EQ(fx->Processor()->process(block.Data()), vst3::kResultFalse);
}
