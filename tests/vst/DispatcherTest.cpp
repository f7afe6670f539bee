#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "tests/support/TestPlugin.h"
#include "vst/VstCanDo.h"

namespace {

// A host buffer pre-filled with a marker, to see whether and how far the plug-in wrote.
struct Buffer {
    Buffer() { std::memset(bytes, 'x', sizeof bytes); }
    bool Untouched() const { return bytes[0] == 'x'; }
    std::string Text() const { return std::string(bytes, strnlen(bytes, sizeof bytes)); }
    char bytes[512];
};

}  // namespace

// Fixed answers and the opcodes a plug-in without them answers with 0.
TEST(Dispatcher, FixedAnswersAndUnknownOpcodes) {
    PluginUnderTest t;
    EXPECT_EQ(t.Dispatch(effIdentify, 7, 7), kVstIdentifyMagic);
    EXPECT_EQ(t.Dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(t.Dispatch(effGetVendorVersion), 10203);
    EXPECT_EQ(t.Dispatch(effCanBeAutomated, 99), 1);
    for (int32_t opcode : {9, 19, 41, 44, 52, 53, 56, 67, 68, 71, 72, 77, 200, -1, 0x7fffffff}) {
        EXPECT_EQ(t.Dispatch(opcode, 1, 1), 0) << opcode;
    }
}

// Parameter properties: stepped parameters as float steps over the normalised range, never as an
// integer range a host would send raw to setParameter; continuous parameters, bad indices and null
// records get no answer.
TEST(Dispatcher, ParameterProperties) {
    PluginUnderTest t;
    VstParameterProperties p;
    std::memset(&p, 0x55, sizeof p);
    ASSERT_EQ(t.Dispatch(effGetParameterProperties, 1, 0, &p), 1);  // Choice of three
    EXPECT_EQ(p.flags, kVstParameterUsesFloatStep);
    EXPECT_EQ(p.stepFloat, 0.5f);
    EXPECT_EQ(p.smallStepFloat, 0.5f);
    EXPECT_EQ(p.largeStepFloat, 0.5f);
    EXPECT_EQ(p.minInteger, 0);
    EXPECT_EQ(p.maxInteger, 0);
    EXPECT_STREQ(p.label, "Mode");
    EXPECT_STREQ(p.shortLabel, "Mode");
    EXPECT_EQ(p.displayIndex, 0);
    EXPECT_EQ(p.future[15], 0);

    ASSERT_EQ(t.Dispatch(effGetParameterProperties, 0, 0, &p), 1);  // Integer 0..5
    EXPECT_EQ(p.flags, kVstParameterUsesFloatStep);
    EXPECT_EQ(p.stepFloat, 0.2f);
    EXPECT_EQ(p.largeStepFloat, 0.2f);
    EXPECT_STREQ(p.label, "Steps");

    ASSERT_EQ(t.Dispatch(effGetParameterProperties, 2, 0, &p), 1);  // Choice of two: named, no switch
    EXPECT_EQ(p.flags, kVstParameterUsesFloatStep);
    EXPECT_EQ(p.stepFloat, 1.0f);

    std::memset(&p, 0x55, sizeof p);
    EXPECT_EQ(t.Dispatch(effGetParameterProperties, 3, 0, &p), 0);  // continuous
    EXPECT_EQ(p.flags, 0x55555555);
    EXPECT_EQ(t.Dispatch(effGetParameterProperties, 4, 0, &p), 0);
    EXPECT_EQ(t.Dispatch(effGetParameterProperties, -1, 0, &p), 0);
    EXPECT_EQ(t.Dispatch(effGetParameterProperties, 1, 0, nullptr), 0);
}

// Without an editor window the editor opcodes say so.
TEST(Dispatcher, EditorOpcodesWithoutEditor) {
    PluginUnderTest t;
    ERect* rect = nullptr;
    EXPECT_EQ(t.Dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, nullptr);
    EXPECT_EQ(t.Dispatch(effEditOpen, 0, 0, &rect), 0);
    EXPECT_EQ(t.Dispatch(effEditClose), 0);
    EXPECT_EQ(t.effect->flags & effFlagsHasEditor, 0);
}

// Parameter texts: valid indices copy, invalid indices and null buffers touch nothing.
TEST(Dispatcher, ParameterTexts) {
    PluginUnderTest t;
    Buffer name, label, display;
    t.Dispatch(effGetParamName, 0, 0, name.bytes);
    t.Dispatch(effGetParamLabel, 0, 0, label.bytes);
    t.Dispatch(effGetParamDisplay, 0, 0, display.bytes);
    EXPECT_EQ(name.Text(), "Steps");
    EXPECT_EQ(label.Text(), "st");
    EXPECT_EQ(display.Text(), "0");
    Buffer mode;
    t.Dispatch(effGetParamDisplay, 1, 0, mode.bytes);
    EXPECT_EQ(mode.Text(), "Soft");
    for (int32_t index : {-1, 4, 1000}) {
        Buffer b;
        for (int32_t opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay})
            t.Dispatch(opcode, index, 0, b.bytes);
        EXPECT_TRUE(b.Untouched());
    }
    for (int32_t opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay, effGetProgramName}) {
        EXPECT_EQ(t.Dispatch(opcode, 0, 0, nullptr), 0);
    }
}

// Programs: selecting, renaming (host texts read to a bound), indexed names.
TEST(Dispatcher, Programs) {
    PluginUnderTest t;
    EXPECT_EQ(t.Dispatch(effGetProgram), 0);
    t.Dispatch(effSetProgram, 0, 1);
    EXPECT_EQ(t.Dispatch(effGetProgram), 1);
    EXPECT_EQ(t.effect->getParameter(t.effect, 0), 0.8f);  // "Second": Steps 4 of 0..5
    Buffer current;
    t.Dispatch(effGetProgramName, 0, 0, current.bytes);
    EXPECT_EQ(current.Text(), "Second");

    t.Dispatch(effSetProgram, 0, 99);
    t.Dispatch(effSetProgram, 0, intptr_t{1} << 40);
    t.Dispatch(effSetProgram, 0, -1);
    EXPECT_EQ(t.Dispatch(effGetProgram), 1);

    std::string longName(1000, 'n');  // unterminated within any sane bound
    longName.back() = 'x';
    t.Dispatch(effSetProgramName, 0, 0, longName.data());
    Buffer renamed;
    EXPECT_EQ(t.Dispatch(effGetProgramNameIndexed, 1, 0, renamed.bytes), 1);
    EXPECT_EQ(renamed.Text(), std::string(24, 'n'));  // what a host's 24-character field holds
    t.Dispatch(effSetProgramName, 0, 0, nullptr);

    Buffer third, outOfRange, negative;
    EXPECT_EQ(t.Dispatch(effGetProgramNameIndexed, 2, 0, third.bytes), 1);
    EXPECT_EQ(third.Text(), "- 3 -");
    EXPECT_EQ(t.Dispatch(effGetProgramNameIndexed, 4, 0, outOfRange.bytes), 0);
    EXPECT_EQ(outOfRange.Text(), "");
    EXPECT_EQ(t.Dispatch(effGetProgramNameIndexed, -5, 0, negative.bytes), 0);
    EXPECT_EQ(t.Dispatch(effGetProgramNameIndexed, 0, 0, nullptr), 0);
}

// Host text to parameter, and the vendor extensions for display, switch kinds and normalising.
TEST(Dispatcher, String2ParameterAndVendorExtensions) {
    PluginUnderTest t;
    char hard[] = "Hard";
    EXPECT_EQ(t.Dispatch(effString2Parameter, 1, 0, hard), 1);
    EXPECT_EQ(t.plugin->Parameter(1)->PlainValue(), 2.0);
    char tooMuch[] = "12 st";
    EXPECT_EQ(t.Dispatch(effString2Parameter, 0, 0, tooMuch), 1);
    EXPECT_EQ(t.plugin->Parameter(0)->PlainValue(), 5.0);  // clamped
    char infinity[] = "inf";
    EXPECT_EQ(t.Dispatch(effString2Parameter, 0, 0, infinity), 1);
    EXPECT_EQ(t.plugin->Parameter(0)->PlainValue(), 0.0);  // not a number: 0, not the maximum
    const size_t changes = t.plugin->changes.size();
    EXPECT_EQ(t.Dispatch(effString2Parameter, 0, 0, nullptr), 1);
    EXPECT_EQ(t.plugin->changes.size(), changes);
    EXPECT_EQ(t.Dispatch(effString2Parameter, 4, 0, hard), 0);

    Buffer display;
    EXPECT_EQ(t.Dispatch(effVendorSpecific, effGetParamDisplay, 1, display.bytes, 0.5f), 0xBEEF);
    EXPECT_EQ(display.Text(), "Medium");
    Buffer clamped;
    EXPECT_EQ(t.Dispatch(effVendorSpecific, effGetParamDisplay, 0, clamped.bytes, 7.0f), 0xBEEF);
    EXPECT_EQ(clamped.Text(), "5");
    EXPECT_EQ(t.Dispatch(effVendorSpecific, effGetParamDisplay, 0, clamped.bytes, std::nanf("")), 0xBEEF);
    EXPECT_EQ(clamped.Text(), "0");  // NaN shows the minimum
    EXPECT_EQ(t.Dispatch(effVendorSpecific, effGetParamDisplay, 9, display.bytes, 0.5f), 0xBEEF);
    EXPECT_EQ(t.Dispatch(effVendorSpecific, effGetParamDisplay, 1, nullptr, 0.5f), 0);

    EXPECT_EQ(t.Dispatch(effVendorSpecific, effGetParamName, 1), 0);       // three choices
    EXPECT_EQ(t.Dispatch(effVendorSpecific, effGetParamName, 2), 0xBEEF);  // two choices
    EXPECT_EQ(t.Dispatch(effVendorSpecific, effGetParamName, 3), 0);       // continuous
    EXPECT_EQ(t.Dispatch(effVendorSpecific, effGetParamName, intptr_t{1} << 33), 0);

    char number[64] = "Medium";
    EXPECT_EQ(t.Dispatch(effVendorSpecific, effString2Parameter, 1, number), 0xBEEF);
    EXPECT_STREQ(number, "0.50000000000000000");
    char empty[4] = "";
    EXPECT_EQ(t.Dispatch(effVendorSpecific, effString2Parameter, 1, empty), 0xBEEF);
    EXPECT_STREQ(empty, "");
    EXPECT_EQ(t.Dispatch(effVendorSpecific, effString2Parameter, 7, number), 0);
    EXPECT_EQ(t.Dispatch(effVendorSpecific, 0x73744341, 0x57686565, nullptr, 1.0f), 0);
    EXPECT_EQ(t.Dispatch(effVendorSpecific, 12345, 0, nullptr), 0);
}

// Capabilities: exact texts only, gated by the MIDI mode.
TEST(Dispatcher, CanDo) {
    const char* midiTexts[] = {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents",
                               "receiveVstMidiEvent"};
    const intptr_t expected[4][4] = {{0, 0, 0, 0}, {1, 1, 1, 1}, {0, 0, 1, 1}, {1, 1, 0, 0}};
    for (int32_t mode = 0; mode <= 3; ++mode) {
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(VstCanDo(midiTexts[i], mode), expected[mode][i]) << mode << midiTexts[i];
        EXPECT_EQ(VstCanDo("receiveVstTimeInfo", mode), 1);
    }
    EXPECT_EQ(VstCanDo("receiveVstEventsX", 1), 0);
    EXPECT_EQ(VstCanDo("receiveVst", 1), 0);
    EXPECT_EQ(VstCanDo("", 1), 0);
    EXPECT_EQ(VstCanDo(nullptr, 1), 0);
    PluginUnderTest t;
    char text[] = "receiveVstMidiEvent";
    EXPECT_EQ(t.Dispatch(effCanDo, 0, 0, text), 1);
    EXPECT_EQ(t.Dispatch(effCanDo), 0);
}

// A host's speaker arrangement connects the channels it names and disconnects the rest.
TEST(Dispatcher, SetSpeakerArrangementConnectsChannels) {
    PluginUnderTest t;
    VstSpeakerArrangement mono{};
    mono.numChannels = 1;
    VstSpeakerArrangement huge{};
    huge.numChannels = 1 << 30;
    EXPECT_EQ(t.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), &huge), 1);
    EXPECT_TRUE(t.plugin->Input(0)->connected);
    EXPECT_FALSE(t.plugin->Input(1)->connected);
    EXPECT_TRUE(t.plugin->Output(1)->connected);
    VstSpeakerArrangement negative{};
    negative.numChannels = -3;
    EXPECT_EQ(t.Dispatch(effSetSpeakerArrangement, 0, 0, &negative), 1);
    EXPECT_FALSE(t.plugin->Output(0)->connected);
    EXPECT_EQ(t.adapter->InputArrangement().numChannels, 2);  // stored arrangements unchanged
    EXPECT_EQ(t.Dispatch(effSetSpeakerArrangement), 1);
}

// Sample rate, block size and activation reach the core; values no device runs at are refused.
TEST(Dispatcher, RateBlockSizeAndActivation) {
    PluginUnderTest t;
    t.Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    EXPECT_EQ(t.plugin->SampleRate(), 48000.0);
    EXPECT_EQ(t.plugin->resets, 1);
    for (float bad : {0.0f, -44100.0f, 1.0e9f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()}) {
        t.Dispatch(effSetSampleRate, 0, 0, nullptr, bad);
    }
    EXPECT_EQ(t.plugin->SampleRate(), 48000.0);
    EXPECT_EQ(t.plugin->resets, 1);

    t.Dispatch(effSetBlockSize, 0, 256);
    EXPECT_EQ(t.plugin->BlockSize(), 256);
    EXPECT_EQ(t.plugin->resets, 2);
    t.Dispatch(effSetBlockSize, 0, 0);
    t.Dispatch(effSetBlockSize, 0, -5);
    EXPECT_EQ(t.plugin->BlockSize(), 256);
    t.Dispatch(effSetBlockSize, 0, intptr_t{1} << 40);
    EXPECT_EQ(t.plugin->BlockSize(), 65536);

    const int resets = t.plugin->resets;
    t.Dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(t.plugin->resets, resets);
    t.Dispatch(effMainsChanged, 0, 0);
    EXPECT_EQ(t.plugin->resets, resets + 1);
    EXPECT_EQ(t.plugin->activations, (std::vector<bool>{true, false}));
}

// effOpen identifies the host and notifies every parameter.
TEST(Dispatcher, OpenNotifiesAllParameters) {
    PluginUnderTest t;
    t.host.product = "Some Host";
    EXPECT_EQ(t.Dispatch(effOpen), 0);
    EXPECT_EQ(t.plugin->changes, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(t.adapter->Host(), HostId::Unknown);
}

// MIDI key names: a plug-in without names answers 0 with an empty name.
TEST(Dispatcher, MidiKeyName) {
    PluginUnderTest t;
    MidiKeyName key{};
    key.thisKeyNumber = 60;
    key.keyName[0] = 'x';
    EXPECT_EQ(t.Dispatch(effGetMidiKeyName, 0, 0, &key), 0);
    EXPECT_EQ(key.keyName[0], '\0');
    EXPECT_EQ(t.Dispatch(effGetMidiKeyName), 0);
}
