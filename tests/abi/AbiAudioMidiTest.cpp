#include <cstring>

#include "tests/abi/VesmarModule.h"

namespace {

class VesmarAudio : public VesmarModule {
  protected:
    // Full width, no offset, no boost, every note to the right and held for five seconds.
    void PanHardRightOnNote() {
        SetPlain(kAttack, 0);
        SetPlain(kHold, 5000);
        SetPlain(kWidth, 100);
        SetPlain(kOffset, 0);
        SetPlain(kSides, 0);
        SetPlain(kSide, 2);
        SetPlain(kNoteOff, 2);
        SendMidi(0x90, 60, 100);
    }
};

}  // namespace

// Every short message comes back to the host unchanged and in order.
TEST_F(VesmarAudio, MidiPassThrough) {
    const uint8_t messages[][3] = {{0x90, 60, 100}, {0x80, 60, 0},   {0x91, 61, 0},   {0xB0, 7, 127},
                                   {0xC3, 5, 0},    {0xD0, 44, 0},   {0xE0, 0, 64},   {0xA2, 60, 10},
                                   {0xF8, 0, 0},    {0x45, 0x12, 0}, {0xFF, 255, 255}};
    std::vector<VstMidiEvent> records;
    for (size_t i = 0; i < std::size(messages); ++i) {
        records.push_back(
            MidiRecord(messages[i][0], messages[i][1], messages[i][2], static_cast<int32_t>(3 * i)));
    }
    VstEventList list;
    list.AssignRecords(records.data(), records.size());
    host.ClearRecords();
    ASSERT_EQ(fx->ProcessEvents(list.List()), 1);
    const std::vector<HostMidiMessage> back = host.ReceivedMidi();
    ASSERT_EQ(back.size(), std::size(messages));
    for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i].deltaFrames, static_cast<int32_t>(3 * i));
        for (int b = 0; b < 3; ++b) EXPECT_EQ(back[i].bytes[b], messages[i][b]) << i << ' ' << b;
    }
}

// Pan law at the right edge: the left output is silent, the right one twice its input, in all
// three audio callbacks.
TEST_F(VesmarAudio, PanLawHardRight) {
    PanHardRightOnNote();
    std::vector<float> l, r;
    Replacing(kBlockSize, 0.3f, 0.375f, l, r);  // the pan travels to +1 in this block
    Replacing(kBlockSize, 0.3f, 0.375f, l, r);
    for (size_t i = 0; i < kBlockSize; ++i) {
        ASSERT_EQ(l[i], 0.0f) << i;
        ASSERT_EQ(r[i], 0.75f) << i;
    }

    std::vector<float> inL(64, 0.5f), inR(64, 0.25f), outL(64, 1.0f), outR(64, 1.0f);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    e->process(e, in, out, 64);
    EXPECT_EQ(outL[10], 1.0f);  // accumulated onto what was there
    EXPECT_EQ(outR[10], 1.5f);

    std::vector<double> dl(64, 0.5), dr(64, -0.125), ol(64, 5.0), orr(64, 5.0);
    double* din[2] = {dl.data(), dr.data()};
    double* dout[2] = {ol.data(), orr.data()};
    e->processDoubleReplacing(e, din, dout, 64);
    EXPECT_EQ(ol[63], 0.0);
    EXPECT_EQ(orr[63], -0.25);
}

// A host block far longer than the announced block size is processed whole.
TEST_F(VesmarAudio, LongBlocksAreProcessedWhole) {
    PanHardRightOnNote();
    std::vector<float> l, r;
    Replacing(10 * kBlockSize + 17, 0.5f, 0.5f, l, r);
    for (size_t i = kBlockSize; i < 10 * kBlockSize + 17; ++i) {
        ASSERT_EQ(l[i], 0.0f) << i;
        ASSERT_EQ(r[i], 1.0f) << i;
    }
    Replacing(0, 0.5f, 0.5f, l, r);  // an empty block is harmless
}

// Pan Width and Pan Offset together never exceed 100: the host sees the offset rewritten inside
// an edit bracket, with its automation.
TEST_F(VesmarAudio, WidthOffsetRuleEditBracket) {
    SetPlain(kWidth, 80);
    host.ClearRecords();
    SetPlain(kOffset, 50);
    EXPECT_EQ(fx->ParameterDisplay(kOffset), "20");
    EXPECT_EQ(fx->GetParameter(kOffset), 0.6f);
    const std::vector<HostEditGesture> gestures = host.EditGestures();
    ASSERT_EQ(gestures.size(), 2u);
    EXPECT_EQ(gestures[0].index, kOffset);
    EXPECT_TRUE(gestures[0].begin);
    EXPECT_EQ(gestures[1].index, kOffset);
    EXPECT_FALSE(gestures[1].begin);
    bool automated = false;
    for (const HostAutomation& a : host.Automations()) automated |= (a.index == kOffset && a.value == 0.6f);
    EXPECT_TRUE(automated);

    SetPlain(kWidth, 0);
    SetPlain(kOffset, -50);
    SetPlain(kWidth, 80);
    EXPECT_EQ(fx->ParameterDisplay(kOffset), "-20");
}
