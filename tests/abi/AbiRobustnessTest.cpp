#include <climits>
#include <cmath>
#include <cstring>

#include "tests/abi/VesmarModule.h"

using VesmarRobustness = VesmarModule;

// Every opcode with null pointers and hostile indices and values: nothing crashes, the plug-in
// still works afterwards.
TEST_F(VesmarRobustness, NullPointersAndHostileArguments) {
    const int32_t indices[] = {-1, 0, 5, 9, 10, 1000, INT_MIN, INT_MAX};
    const float opts[] = {0.0f, -1.0f, 1.0e30f, std::nanf("")};
    for (int32_t opcode = 0; opcode < 100; ++opcode) {
        if (opcode == effClose) continue;
        // Opcodes whose value is a pointer get only 0 as value.
        const bool valueIsPointer = opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
        const intptr_t values[] = {0, -1, intptr_t{1} << 40};
        for (int32_t index : indices) {
            for (intptr_t value : values) {
                if (valueIsPointer && value != 0) continue;
                for (float opt : opts) fx->Dispatch(opcode, index, value, nullptr, opt);
            }
        }
    }
    fx->Dispatch(effSetBlockSize, 0, kBlockSize);
    EXPECT_EQ(fx->Text(effGetEffectName), "Vesmar");
    std::vector<float> l, r;
    Replacing(64, 0.5f, 0.5f, l, r);
    for (float v : l) EXPECT_TRUE(std::isfinite(v));
}

// Event lists with null entries, unknown types, careless sizes and a negative count.
TEST_F(VesmarRobustness, OddEventLists) {
    VstMidiEvent on = MidiRecord(0x90, 60, 100);
    VstMidiEvent careless = MidiRecord(0xB0, 1, 2);
    careless.byteSize = -1;
    VstEvent unknown{};
    unknown.type = 99;
    unknown.byteSize = 1 << 30;
    VstMidiSysexEvent shortSysex{};
    shortSysex.type = kVstSysExType;
    shortSysex.byteSize = 16;
    VstMidiSysexEvent nullDump{};
    nullDump.type = kVstSysExType;
    nullDump.byteSize = sizeof nullDump;
    nullDump.dumpBytes = 1 << 20;
    VstEventList list({nullptr, reinterpret_cast<VstEvent*>(&on), &unknown,
                       reinterpret_cast<VstEvent*>(&shortSysex), reinterpret_cast<VstEvent*>(&nullDump),
                       nullptr, reinterpret_cast<VstEvent*>(&careless)});
    host.ClearRecords();
    EXPECT_EQ(fx->ProcessEvents(list.List()), 1);
    EXPECT_EQ(host.ReceivedMidi().size(), 2u);
    VstEventList negative({reinterpret_cast<VstEvent*>(&on)});
    negative.List()->numEvents = INT_MIN;
    EXPECT_EQ(fx->ProcessEvents(negative.List()), 1);
    EXPECT_EQ(fx->ProcessEvents(nullptr), 0);
    EXPECT_EQ(host.ReceivedMidi().size(), 2u);
}

// Hosts scanning plug-ins create and close instances over and over.
TEST_F(VesmarRobustness, RepeatedCreateOpenClose) {
    for (int i = 0; i < 40; ++i) {
        HostCallback scanHost;
        auto instance = Create(scanHost);
        ASSERT_NE(instance, nullptr);
        if (i % 2) instance->Open(48000.0, 256);
        EXPECT_EQ(instance->Text(effGetEffectName), "Vesmar");
        instance->Close();
    }
}

// Two instances at once keep separate parameters, programs and audio state.
TEST_F(VesmarRobustness, TwoInstancesAreIndependent) {
    HostCallback otherHost;
    auto other = Create(otherHost);
    ASSERT_NE(other, nullptr);
    other->Open(kSampleRate, kBlockSize);
    other->Resume();
    SetPlain(kWidth, 10);
    fx->SetProgram(3);
    EXPECT_EQ(other->ParameterDisplay(kWidth), "70");
    EXPECT_EQ(other->Program(), 0);

    SetPlain(kAttack, 0);
    SetPlain(kSides, 0);
    SetPlain(kSide, 1);
    SendMidi(0x90, 60, 100);
    std::vector<float> l, r;
    Replacing(kBlockSize, 0.5f, 0.5f, l, r);
    std::vector<float> inL(kBlockSize, 0.5f), inR(kBlockSize, 0.5f), ol(kBlockSize), orr(kBlockSize);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {ol.data(), orr.data()};
    AEffect* o = other->Record();
    o->processReplacing(o, in, out, kBlockSize);
    EXPECT_EQ(ol[kBlockSize - 1], 0.5f);  // no note there: centred, unchanged
    EXPECT_NE(l[kBlockSize - 1], 0.5f);
    EXPECT_TRUE(otherHost.ReceivedMidi().empty());
}
