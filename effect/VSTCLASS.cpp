#include "effect/VSTCLASS.h"

#include "effect/CreateEffect.h"
#include "effect/EnvelopeShape.h"

namespace {

// Four-character codes, first character in the most significant byte.
constexpr int32_t FourCharCode(char a, char b, char c, char d) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                static_cast<uint32_t>(static_cast<unsigned char>(d)));
}

// The project's version (CMakeLists.txt) is the only place it is written; 1.1.0 is 0x00010100.
constexpr int32_t kVersion =
    (VESMAR_VERSION_MAJOR << 16) | (VESMAR_VERSION_MINOR << 8) | VESMAR_VERSION_PATCH;

PluginDescriptor MakeDescriptor() {
    PluginDescriptor d;
    d.effectName = "Vesmar";
    d.productName = "";
    d.vendor = "Darvo";
    d.webAddress = "https://darvo.audio/plugins/vesmar";
    d.version = kVersion;
    d.channelConfigs = "1-1 2-2";
    d.parameterCount = VSTCLASS::kNumParams;
    d.programCount = VSTCLASS::kNumPrograms;
    d.latency = 0;
    d.midiInput = true;  // notes start the envelope, and every message goes back out
    d.midiOutput = true;
    d.vst2.uniqueId = FourCharCode('7', 'z', 'w', 'r');
    d.vst2.makerId = FourCharCode('D', 'a', 'r', 'v');
    d.vst2.doesMidi = 1;
    const uint8_t vst3ClassId[16] = {0x11, 0x66, 0xCC, 0x03, 0x66, 0xED, 0x45, 0x6E,
                                     0x83, 0x91, 0xBB, 0x2A, 0x08, 0x83, 0xAE, 0x68};
    for (int i = 0; i < 16; ++i) d.vst3ClassId[i] = vst3ClassId[i];
    d.clapId = "audio.darvo.vesmar";
    d.lv2Uri = "https://darvo.audio/plugins/vesmar";
    return d;
}

}  // namespace

// Names, version, channels and the identity of every format; the format identities never change
// once released.
const PluginDescriptor& EffectDescriptor() {
    static const PluginDescriptor descriptor = MakeDescriptor();
    return descriptor;
}

VSTCLASS::VSTCLASS() : IPluginCore(EffectDescriptor()) {
    // Defining parameters does not notify the engine: it learns the values when the host opens the
    // effect, and the first processed block converts the times again at the actual sample rate.
    DefineParameters();
    BuildEditor();
    DefineFactoryPrograms();
}

void VSTCLASS::DefineParameters() {
    Parameter(kAttack)->DefineInteger("Attack", 500, 0, 8000, "ms");
    Parameter(kHold)->DefineInteger("Hold", 200, 0, 5000, "ms");
    Parameter(kDecay)->DefineInteger("Decay", 800, 0, 8000, "ms");

    IParameter* shape = Parameter(kShapeEnv);
    shape->DefineChoice("Shape ENV", kShapeLinear, 5, "");
    shape->AddValueText(kShapeLinear, "Linear");
    shape->AddValueText(kShapeAttackFastDecaySlow, "Attack fast && Decay slow");
    shape->AddValueText(kShapeAttackFastDecayFast, "Attack fast && Decay fast");
    shape->AddValueText(kShapeAttackSlowDecaySlow, "Attack slow && Decay slow");
    shape->AddValueText(kShapeAttackSlowDecayFast, "Attack slow && Decay fast");

    Parameter(kPanWidth)->DefineInteger("Pan Width", 70, 0, 100, "%");
    Parameter(kPanOffset)->DefineInteger("Pan Offset", 0, -100, 100, "");

    IParameter* side = Parameter(kPanSide);
    side->DefineChoice("Pan Side", kPanSideAlternate, 3, "");
    side->AddValueText(kPanSideAlternate, "Alternate");
    side->AddValueText(kPanSideLeft, "Left");
    side->AddValueText(kPanSideRight, "Right");

    IParameter* noteOff = Parameter(kNoteOff);
    noteOff->DefineChoice("Note Off", kNoteOffEnvDecay, 3, "");
    noteOff->AddValueText(kNoteOffEnvOff, "ENV Off");
    noteOff->AddValueText(kNoteOffEnvDecay, "ENV Decay");
    noteOff->AddValueText(kNoteOffFollowEnv, "Follow ENV");

    Parameter(kSidesVolAmplify)->DefineInteger("Sides Vol Amplify", 6, 0, 22, "dB");
}

void VSTCLASS::DefineFactoryPrograms() {
    // Slot 0 holds the defaults just defined; the next five take the following free slots. Values in
    // parameter order: Attack, Hold, Decay, Shape ENV, Pan Width, Pan Offset, Pan Side, Note Off,
    // Sides Vol Amplify.
    CaptureDefaultPrograms("---- default ----", 1);
    DefineProgram("Long Envelopes", {2200, 2400, 2000, 1, 100, 0, 0, 2, 6});
    DefineProgram("Sit on the Sides", {200, 2600, 200, 1, 100, 0, 0, 2, 6});
    DefineProgram("Increase Volume on Sides", {1000, 600, 800, 0, 100, 0, 0, 1, 16});
    DefineProgram("Play on the Right", {500, 200, 800, 0, 50, 50, 0, 2, 6});
    DefineProgram("Chill pan", {5000, 200, 3000, 4, 80, 0, 0, 2, 6});
}
