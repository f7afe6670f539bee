#include <cstring>

#include "tests/abi/VesmarModule.h"
#include "tools/vsthost/host/SharedLibrary.h"

// Both exported names are one function.
TEST(VesmarExports, MainIsVstPluginMain) {
    SharedLibrary library;
    std::string error;
    ASSERT_TRUE(library.Open(VESMAR_PLUGIN_PATH, error)) << error;
    void* entry = library.Symbol("VSTPluginMain");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(library.Symbol("main"), entry);
}

using VesmarRecord = VesmarModule;

// The record: identity, counts, flags and callbacks exactly as a host reads them.
TEST_F(VesmarRecord, Fields) {
    EXPECT_EQ(e->magic, 0x56737450);
    // 0x1019 once the editor is attached; the editor flag is the only one that depends on it.
    EXPECT_EQ(e->flags | effFlagsHasEditor, 0x1019);
    EXPECT_EQ(e->version, 10100);
    EXPECT_EQ(e->uniqueID, 0x377A7772);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->numParams, 9);
    EXPECT_EQ(e->numPrograms, 10);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_NE(e->object, nullptr);
    EXPECT_NE(e->process, nullptr);
    EXPECT_NE(e->processReplacing, nullptr);
    EXPECT_NE(e->processDoubleReplacing, nullptr);
    EXPECT_NE(e->setParameter, nullptr);
    EXPECT_NE(e->getParameter, nullptr);
    EXPECT_EQ(e->realQualities, 0);
    EXPECT_EQ(e->offQualities, 0);
}

// Fixed answers, names and the opcodes the plug-in answers with 0.
TEST_F(VesmarRecord, FixedAnswers) {
    EXPECT_EQ(fx->Dispatch(effIdentify), 0x4E764566);
    EXPECT_EQ(fx->Dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(fx->Dispatch(effGetVendorVersion), 10100);
    EXPECT_EQ(fx->Dispatch(effGetPlugCategory), kPlugCategEffect);
    EXPECT_EQ(fx->Text(effGetEffectName), "Vesmar");
    EXPECT_EQ(fx->Text(effGetVendorString), "Darvo");
    EXPECT_EQ(fx->Text(effGetProductString), "");
    EXPECT_EQ(fx->Dispatch(effGetEffectName), 0);
    EXPECT_EQ(fx->Dispatch(effGetVendorString), 0);
    EXPECT_EQ(fx->Dispatch(effGetProductString), 0);
    for (int32_t i = 0; i < 9; ++i) EXPECT_EQ(fx->Dispatch(effCanBeAutomated, i), 1);
    for (int32_t opcode : {9, 19, 41, 52, 53, 71, 72, 77, 99, 1000, -5})
        EXPECT_EQ(fx->Dispatch(opcode), 0) << opcode;
}

// Capabilities: all five texts the MIDI mode 1 grants, exact matches only.
TEST_F(VesmarRecord, CanDo) {
    for (const char* text : {"receiveVstTimeInfo", "sendVstEvents", "sendVstMidiEvent", "receiveVstEvents",
                             "receiveVstMidiEvent"}) {
        EXPECT_EQ(fx->CanDo(text), 1) << text;
    }
    EXPECT_EQ(fx->CanDo("receiveVstEvents "), 0);
    EXPECT_EQ(fx->CanDo("offline"), 0);
    EXPECT_EQ(fx->Dispatch(effCanDo), 0);
}

// Vesmar's stepped parameters reach a host as float steps over the normalised range, one per
// entry of a selector and one per whole unit of an integer, with no integer range a host could
// pass raw to setParameter; the record is laid out as the host reads it.
TEST_F(VesmarRecord, ParameterProperties) {
    struct Stepped {
        int index;
        int steps;
        const char* label;
    };
    for (Stepped s :
         {Stepped{kShape, 4, "Shape ENV"}, Stepped{kSide, 2, "Pan Side"}, Stepped{kNoteOff, 2, "Note Off"},
          Stepped{kAttack, 8000, "Attack"}, Stepped{kHold, 5000, "Hold"}, Stepped{kDecay, 8000, "Decay"},
          Stepped{kWidth, 100, "Pan Width"}, Stepped{kOffset, 200, "Pan Offset"},
          Stepped{kSides, 22, "Sides Vol Amplify"}}) {
        VstParameterProperties p;
        ASSERT_TRUE(fx->ParameterProperties(s.index, p)) << s.label;
        EXPECT_EQ(p.flags, kVstParameterUsesFloatStep) << s.label;
        EXPECT_FLOAT_EQ(p.stepFloat, 1.0f / static_cast<float>(s.steps)) << s.label;
        EXPECT_GE(p.largeStepFloat, p.stepFloat) << s.label;
        EXPECT_EQ(p.maxInteger, 0) << s.label;
        EXPECT_STREQ(p.label, s.label);
        EXPECT_LE(std::strlen(p.shortLabel), 7u);
    }
    VstParameterProperties p;
    EXPECT_FALSE(fx->ParameterProperties(9, p));
}

// Parameter names, labels and display texts of the nine parameters at their defaults.
TEST_F(VesmarRecord, ParameterTexts) {
    const char* names[] = {"Attack",     "Hold",     "Decay",    "Shape ENV",        "Pan Width",
                           "Pan Offset", "Pan Side", "Note Off", "Sides Vol Amplify"};
    const char* labels[] = {"ms", "ms", "ms", "", "%", "", "", "", "dB"};
    const char* displays[] = {"500", "200", "800", "Linear", "70", "0", "Alternate", "ENV Decay", "6"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(fx->ParameterName(i), names[i]);
        EXPECT_EQ(fx->ParameterLabel(i), labels[i]);
        EXPECT_EQ(fx->ParameterDisplay(i), displays[i]) << i;
    }
    EXPECT_EQ(fx->ParameterName(9), "");
    SetPlain(kShape, 4);
    EXPECT_EQ(fx->ParameterDisplay(kShape), "Attack slow && Decay fast");
    SetPlain(kWidth, 50);
    SetPlain(kOffset, -50);
    EXPECT_EQ(fx->ParameterDisplay(kOffset), "-50");
}

// Program names: six factory programs, then the core's numbered slots; out of range is empty.
TEST_F(VesmarRecord, ProgramNames) {
    const char* names[] = {"---- default ----",
                           "Long Envelopes",
                           "Sit on the Sides",
                           "Increase Volume on Sides",
                           "Play on the Right",
                           "Chill pan",
                           "- 7 -",
                           "- 8 -",
                           "- 9 -",
                           "- 10 -"};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(fx->ProgramNameIndexed(i), names[i]);
    char name[64] = "x";
    EXPECT_EQ(fx->Dispatch(effGetProgramNameIndexed, 10, 0, name), 0);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(fx->Dispatch(effGetProgramNameIndexed, 0, 0, nullptr), 0);
    EXPECT_EQ(fx->Program(), 0);
    EXPECT_EQ(fx->ProgramName(), "---- default ----");
}

// Pins and speaker arrangements of the stereo effect.
TEST_F(VesmarRecord, PinsAndArrangements) {
    VstPinProperties pin{};
    EXPECT_EQ(fx->Dispatch(effGetInputProperties, 0, 0, &pin), 1);
    EXPECT_EQ(pin.flags, 3);
    EXPECT_STREQ(pin.label, "Input 1");
    EXPECT_EQ(fx->Dispatch(effGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_EQ(pin.flags, 1);
    EXPECT_STREQ(pin.label, "Output 2");
    EXPECT_EQ(fx->Dispatch(effGetInputProperties, 2, 0, &pin), 0);
    EXPECT_EQ(fx->Dispatch(effGetOutputProperties, -1, 0, &pin), 0);
    EXPECT_EQ(fx->Dispatch(effGetInputProperties, 0, 0, nullptr), 0);
    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    EXPECT_EQ(fx->Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out), 1);
    ASSERT_TRUE(in && out);
    EXPECT_EQ(in->type, kSpeakerArrStereo);
    EXPECT_EQ(out->numChannels, 2);
}

// The editor opcodes agree with the record's editor flag.
TEST_F(VesmarRecord, EditorOpcodesMatchFlag) {
    ERect* rect = nullptr;
    const intptr_t got = fx->Dispatch(effEditGetRect, 0, 0, &rect);
    if (e->flags & effFlagsHasEditor) {
        EXPECT_EQ(got, 1);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right - rect->left, 480);
        EXPECT_EQ(rect->bottom - rect->top, 260);
    } else {
        EXPECT_EQ(got, 0);
        EXPECT_EQ(fx->Dispatch(effEditOpen), 0);
        EXPECT_EQ(fx->Dispatch(effEditClose), 0);
    }
}
