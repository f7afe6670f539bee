#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "effect/CreateEffect.h"
#include "tests/effect/EngineProbe.h"

namespace {

std::string Display(const VSTCLASS& effect, int index) {
    char text[64];
    effect.Parameter(index)->FormatForHost(effect.Parameter(index)->PlainValue(), false, text, sizeof text);
    return text;
}

// Identity and record values that hosts store with sessions and presets.
TEST(EffectIdentity, ReportsItsIdentityToTheHost) {
    FakeHost host;
    EngineProbe effect;
    EXPECT_STREQ("Vesmar", effect.EffectName());
    EXPECT_STREQ("", effect.ProductName());
    EXPECT_STREQ("Darvo", effect.MakerName());
    EXPECT_EQ(0x00010100, effect.Version());
    EXPECT_EQ(0x377A7772, effect.Descriptor().vst2.uniqueId);
    EXPECT_EQ(0x44617276, effect.Descriptor().vst2.makerId);
    EXPECT_EQ(0, effect.Latency());
    EXPECT_EQ(1, effect.Descriptor().vst2.doesMidi);
    EXPECT_FALSE(effect.Descriptor().vst2.stateChunks);
    EXPECT_FALSE(effect.Descriptor().vst2.isInstrument);
    EXPECT_EQ(9, effect.ParameterCount());
    EXPECT_EQ(10, effect.ProgramCount());
    EXPECT_EQ(2, effect.InputCount());
    EXPECT_EQ(2, effect.OutputCount());
    EXPECT_EQ(10100, effect.VersionDecimal());
}

// Program names as the host lists them: six factory programs, then the core's empty slots.
TEST(EffectIdentity, NamesItsPrograms) {
    FakeHost host;
    EngineProbe effect;
    const char* expected[] = {"---- default ----",
                              "Long Envelopes",
                              "Sit on the Sides",
                              "Increase Volume on Sides",
                              "Play on the Right",
                              "Chill pan",
                              "- 7 -",
                              "- 8 -",
                              "- 9 -",
                              "- 10 -"};
    for (int i = 0; i < 10; ++i) EXPECT_STREQ(expected[i], effect.ProgramName(i)) << i;
    EXPECT_EQ(0, effect.CurrentProgramIndex());
}

// Names, labels and display texts the host shows for each parameter.
TEST(EffectIdentity, ShowsParameterTexts) {
    FakeHost host;
    EngineProbe effect;
    const char* names[] = {"Attack",     "Hold",     "Decay",    "Shape ENV",        "Pan Width",
                           "Pan Offset", "Pan Side", "Note Off", "Sides Vol Amplify"};
    const char* labels[] = {"ms", "ms", "ms", "", "%", "", "", "", "dB"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_STREQ(names[i], effect.Parameter(i)->Name()) << i;
        EXPECT_STREQ(labels[i], effect.Parameter(i)->Label()) << i;
    }
    EXPECT_EQ("500", Display(effect, VSTCLASS::kAttack));
    EXPECT_EQ("Linear", Display(effect, VSTCLASS::kShapeEnv));
    EXPECT_EQ("Alternate", Display(effect, VSTCLASS::kPanSide));
    EXPECT_EQ("ENV Decay", Display(effect, VSTCLASS::kNoteOff));
    EXPECT_EQ("0", Display(effect, VSTCLASS::kPanOffset));

    effect.Parameter(VSTCLASS::kShapeEnv)->SetPlain(4);
    EXPECT_EQ("Attack slow && Decay fast", Display(effect, VSTCLASS::kShapeEnv));
    effect.Parameter(VSTCLASS::kPanOffset)->SetPlain(-50);
    EXPECT_EQ("-50", Display(effect, VSTCLASS::kPanOffset));
}

// Every factory program restores the values it was defined with, and "Play on the Right" reaches
// exactly 100 % without the width/offset rule touching it.
TEST(EffectIdentity, FactoryProgramsHoldTheirValues) {
    FakeHost host;
    EngineProbe effect;
    effect.Open();
    const double rows[6][9] = {{500, 200, 800, 0, 70, 0, 0, 1, 6},   {2200, 2400, 2000, 1, 100, 0, 0, 2, 6},
                               {200, 2600, 200, 1, 100, 0, 0, 2, 6}, {1000, 600, 800, 0, 100, 0, 0, 1, 16},
                               {500, 200, 800, 0, 50, 50, 0, 2, 6},  {5000, 200, 3000, 4, 80, 0, 0, 2, 6}};
    for (int slot = 5; slot >= 0; --slot) {
        host.calls.clear();
        ASSERT_TRUE(effect.SelectProgram(slot));
        for (int i = 0; i < 9; ++i) EXPECT_EQ(rows[slot][i], effect.Plain(i)) << slot << "/" << i;
        for (const FakeHost::Call& call : host.calls) EXPECT_NE(FakeHost::Kind::BeginEdit, call.kind) << slot;
    }
    effect.SelectProgram(4);
    EXPECT_EQ(50 * 0.01f, effect.panWidth);
    EXPECT_EQ(50 * 0.01f, effect.panOffset);
}

}  // namespace

// The factory every format's adapter calls: the described effect, driven through the core's own
// frame with a host of no format. A note goes back out at its offset and pushes the sound to one
// side; the identities hosts store with sessions never change.
TEST(EffectIdentity, FactoryEffectRunsWithoutAFormat) {
    const PluginDescriptor& d = EffectDescriptor();
    const uint8_t classId[16] = {0x11, 0x66, 0xCC, 0x03, 0x66, 0xED, 0x45, 0x6E,
                                 0x83, 0x91, 0xBB, 0x2A, 0x08, 0x83, 0xAE, 0x68};
    EXPECT_EQ(0, std::memcmp(classId, d.vst3ClassId, sizeof classId));
    EXPECT_STREQ("audio.darvo.vesmar", d.clapId);
    EXPECT_STREQ("https://darvo.audio/plugins/vesmar", d.lv2Uri);

    FakeHost host;
    std::unique_ptr<IPluginCore> effect = CreateEffect();
    ASSERT_NE(nullptr, effect);
    EXPECT_EQ(&d, &EffectDescriptor());
    EXPECT_STREQ(d.effectName, effect->EffectName());
    effect->AttachHost(&host);
    std::lock_guard<std::recursive_mutex> hold(effect->Lock());
    effect->SetSampleRate(48000.0);
    effect->ConnectInputs(0, 2, true);
    effect->ConnectOutputs(0, 2, true);
    effect->SetBlockSize(256);
    effect->Reset();
    effect->NotifyAllParameters();
    IMidiEvent note;
    note.offset = 7;
    note.status = 0x90;
    note.data1 = 60;
    note.data2 = 100;
    effect->OnMidiEvent(note);
    std::vector<float> left(4096, 0.5f), right(4096, 0.5f);
    float* io[2] = {left.data(), right.data()};
    effect->AttachInputs(io, 4096);
    effect->AttachOutputs(io);
    effect->RunReplacing(4096);
    ASSERT_EQ(1u, host.calls.size());
    EXPECT_EQ(FakeHost::Kind::Midi, host.calls[0].kind);
    EXPECT_EQ(7, host.calls[0].index);
    EXPECT_NE(left.back(), right.back());
}
