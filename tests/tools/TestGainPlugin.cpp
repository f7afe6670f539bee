#include "tests/tools/TestGainPlugin.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

#include "plugbase/TextCopy.h"

#ifndef TEST_PLUGIN_VARIANT
#define TEST_PLUGIN_VARIANT 0
#endif

namespace {

constexpr int kParams = 2;
constexpr int kPrograms = 2;
constexpr uint32_t kProgramMagic = 0x54475043;  // TGPC
constexpr uint32_t kBankMagic = 0x5447424B;     // TGBK
// Variants that behave like plug-ins real hosts meet.
constexpr bool kShortRecord = TEST_PLUGIN_VARIANT == 3;     // a 128-byte record, no double callback
constexpr bool kSilentChunks = TEST_PLUGIN_VARIANT == 4;    // applies chunks but answers 0
constexpr bool kFaultingEditor = TEST_PLUGIN_VARIANT == 5;  // effEditGetRect writes through null
constexpr bool kPickyBlocks = TEST_PLUGIN_VARIANT == 6;     // aborts on blocks not a multiple of 8
constexpr bool kLatency = TEST_PLUGIN_VARIANT == 7;         // delays by kDelay, known once resumed;
                                                            // no chunks
constexpr bool kCrashOnOpen = TEST_PLUGIN_VARIANT == 8;     // effOpen writes through null
constexpr bool kSpeakers = TEST_PLUGIN_VARIANT == 9;        // starts mono; takes any mono or
                                                            // stereo arrangement and adopts it
constexpr int kDelay = 64;
constexpr size_t kShortRecordBytes = 128;

struct Program {
    char name[32];
    float gain[kParams];
};

struct ProgramChunk {
    uint32_t magic;
    float gain[kParams];
};

struct BankChunk {
    uint32_t magic;
    int32_t current;
    float gain[kPrograms][kParams];
};

struct Plugin {
    AEffect full{};
    AEffect* effect = &full;
    audioMasterCallback host = nullptr;
    intptr_t hostVersion = 0;
    Program programs[kPrograms] = {{"Unity", {1.0f, 1.0f}}, {"Quiet", {0.5f, 0.25f}}};
    int current = 0;
    ProgramChunk programChunk{};
    BankChunk bankChunk{};
    float delay[2][kDelay] = {};
    int delayPos = 0;
};

Plugin* Self(AEffect* e) {
    return e ? static_cast<Plugin*>(e->object) : nullptr;
}

void Copy(void* ptr, const char* text) {
    if (ptr) CopyText(static_cast<char*>(ptr), 64, text);
}

// A real memory fault, as a plug-in that needs its window system and finds none. Not checked by
// the sanitizers: the fault itself is what the host must survive.
// The address is non-canonical, so the write faults on every x86-64 system (Wine may map page 0).
__attribute__((no_sanitize("undefined", "address"), noinline)) void Fault() {
    volatile int* nowhere = reinterpret_cast<volatile int*>(uintptr_t{0x8000000000000000u});
    *nowhere = 1;
}

// The speakers variant: every speaker the record promises is read (so that ASan sees a record
// allocated too small); mono or stereo on each side, with the matching type, is adopted and
// announced, anything else refused.
intptr_t SetSpeakerArrangement(Plugin* p, const VstSpeakerArrangement* in, const VstSpeakerArrangement* out) {
    if (!kSpeakers || !in || !out) return 0;
    for (const VstSpeakerArrangement* side : {in, out}) {
        if (side->numChannels < 0 || side->numChannels > 256) return 0;
        const auto* speakers = reinterpret_cast<const unsigned char*>(side->speakers);
        int32_t undefined = 0;
        for (int32_t i = 0; i < side->numChannels; ++i) {
            VstSpeakerProperties speaker;
            std::memcpy(&speaker, speakers + static_cast<size_t>(i) * sizeof speaker, sizeof speaker);
            undefined += speaker.type == 0x7FFFFFFF;
        }
        const bool mono = side->numChannels == 1 && side->type == kSpeakerArrMono;
        const bool stereo = side->numChannels == 2 && side->type == kSpeakerArrStereo;
        if (!(mono || stereo) || undefined != 0) return 0;
    }
    AEffect& e = *p->effect;
    if (e.numInputs != in->numChannels || e.numOutputs != out->numChannels) {
        e.numInputs = in->numChannels;
        e.numOutputs = out->numChannels;
        p->host(p->effect, audioMasterIOChanged, 0, 0, nullptr, 0.0f);
    }
    return 1;
}

// Sends each received event back on its own, as a plug-in forwarding MIDI does.
void Echo(Plugin* p, const VstEvents* events) {
    VstEvent* const* entries = events->events;
    for (int32_t i = 0; i < events->numEvents; ++i) {
        VstEvent* event = entries[i];
        if (!event) continue;
        VstEvents one{};
        one.numEvents = 1;
        one.events[0] = event;
        p->host(p->effect, audioMasterProcessEvents, 0, 0, &one, 0.0f);
    }
}

intptr_t Dispatcher(AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr, float) noexcept {
    Plugin* p = Self(e);
    if (!p) return 0;
    Program& program = p->programs[p->current];
    switch (opcode) {
        case effClose:
            if (kShortRecord) ::operator delete(p->effect);
            delete p;
            return 0;
        case effMainsChanged:
            if (kLatency) e->initialDelay = value ? kDelay : 0;
            return 0;
        case effOpen:
        case effEditGetRect:
            if ((opcode == effOpen && kCrashOnOpen) || (opcode == effEditGetRect && kFaultingEditor)) Fault();
            return 0;
        case effString2Parameter:
            if (index < 0 || index >= kParams || !ptr) return 0;
            program.gain[index] = std::strtof(static_cast<const char*>(ptr), nullptr);
            return 1;
        case effSetProgram:
            if (value >= 0 && value < kPrograms) p->current = static_cast<int>(value);
            return 0;
        case effGetProgram:
            return p->current;
        case effSetProgramName:
            if (ptr) CopyText(program.name, sizeof program.name, static_cast<const char*>(ptr));
            return 0;
        case effGetProgramName:
            Copy(ptr, program.name);
            return 0;
        case effGetProgramNameIndexed:
            if (index < 0 || index >= kPrograms) return 0;
            Copy(ptr, p->programs[index].name);
            return 1;
        case effGetParamName:
            if (index >= 0 && index < kParams) Copy(ptr, index == 0 ? "Gain L" : "Gain R");
            return 0;
        case effGetParamLabel:
            if (index >= 0 && index < kParams) Copy(ptr, "x");
            return 0;
        case effGetParamDisplay:
            if (index >= 0 && index < kParams && ptr)
                std::snprintf(static_cast<char*>(ptr), 16, "%.3f", program.gain[index]);
            return 0;
        case effGetEffectName:
            Copy(ptr, "TestGain");
            return 1;
        case effGetVendorString:
            Copy(ptr, "Vesmar Tests");
            return 1;
        case effGetProductString:
            if (ptr)
                std::snprintf(static_cast<char*>(ptr), 64, "Test Gain for host %ld",
                              static_cast<long>(p->hostVersion));
            return 1;
        case effGetVendorVersion:
            return 1234;
        case effGetVstVersion:
            return 2400;
        case effGetPlugCategory:
            return kPlugCategEffect;
        case effSetSpeakerArrangement:
            return SetSpeakerArrangement(p, reinterpret_cast<const VstSpeakerArrangement*>(value),
                                         static_cast<const VstSpeakerArrangement*>(ptr));
        case effCanDo: {
            if (!ptr) return 0;
            const char* text = static_cast<const char*>(ptr);
            for (const char* known :
                 {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"})
                if (std::strcmp(text, known) == 0) return 1;
            return std::strcmp(text, "offline") == 0 ? -1 : 0;
        }
        case effProcessEvents:
            if (!ptr) return 0;
            Echo(p, static_cast<const VstEvents*>(ptr));
            return 1;
        case effGetChunk: {
            if (!ptr) return 0;
            if (index == 0) {
                p->bankChunk.magic = kBankMagic;
                p->bankChunk.current = p->current;
                for (int i = 0; i < kPrograms; ++i)
                    std::memcpy(p->bankChunk.gain[i], p->programs[i].gain, sizeof(float) * kParams);
                *static_cast<void**>(ptr) = &p->bankChunk;
                return sizeof(BankChunk);
            }
            p->programChunk.magic = kProgramMagic;
            std::memcpy(p->programChunk.gain, program.gain, sizeof program.gain);
            *static_cast<void**>(ptr) = &p->programChunk;
            return sizeof(ProgramChunk);
        }
        case effSetChunk: {
            if (!ptr) return 0;
            if (index == 0) {
                BankChunk bank;
                if (value != sizeof bank) return 0;
                std::memcpy(&bank, ptr, sizeof bank);
                if (bank.magic != kBankMagic || bank.current < 0 || bank.current >= kPrograms) return 0;
                for (int i = 0; i < kPrograms; ++i)
                    std::memcpy(p->programs[i].gain, bank.gain[i], sizeof(float) * kParams);
                p->current = bank.current;
                return kSilentChunks ? 0 : 1;
            }
            ProgramChunk chunk;
            if (value != sizeof chunk) return 0;
            std::memcpy(&chunk, ptr, sizeof chunk);
            if (chunk.magic != kProgramMagic) return 0;
            std::memcpy(program.gain, chunk.gain, sizeof program.gain);
            return kSilentChunks ? 0 : 1;
        }
        default:
            return 0;
    }
}

// Output c is input c (the last input for outputs beyond) times gain c.
template <typename Sample>
void Gain(Plugin* p, Sample** in, Sample** out, int32_t frames, bool accumulate) {
    const float* gain = p->programs[p->current].gain;
    const int inputs = p->effect->numInputs;
    for (int c = 0; c < p->effect->numOutputs && c < kParams; ++c)
        for (int32_t i = 0; i < frames; ++i) {
            Sample v = in[c < inputs ? c : inputs - 1][i] * static_cast<Sample>(gain[c]);
            out[c][i] = accumulate ? out[c][i] + v : v;
        }
}

void Process(AEffect* e, float** in, float** out, int32_t frames) noexcept {
    if (Plugin* p = Self(e)) Gain(p, in, out, frames, true);
}
void ProcessReplacing(AEffect* e, float** in, float** out, int32_t frames) noexcept {
    Plugin* p = Self(e);
    if (!p) return;
    if (kPickyBlocks && frames % 8 != 0) std::abort();
    Gain(p, in, out, frames, false);
    if (!kLatency) return;
    for (int32_t i = 0; i < frames; ++i) {
        for (int c = 0; c < 2; ++c) {
            float delayed = p->delay[c][p->delayPos];
            p->delay[c][p->delayPos] = out[c][i];
            out[c][i] = delayed;
        }
        p->delayPos = (p->delayPos + 1) % kDelay;
    }
}
void ProcessDouble(AEffect* e, double** in, double** out, int32_t frames) noexcept {
    if (Plugin* p = Self(e)) Gain(p, in, out, frames, false);
}

void SetParameter(AEffect* e, int32_t index, float value) noexcept {
    Plugin* p = Self(e);
    if (p && index >= 0 && index < kParams) p->programs[p->current].gain[index] = value;
}

float GetParameter(AEffect* e, int32_t index) noexcept {
    Plugin* p = Self(e);
    return p && index >= 0 && index < kParams ? p->programs[p->current].gain[index] : 0.0f;
}

}  // namespace

AEffect* CreateTestGainPlugin(audioMasterCallback host) {
    if (TEST_PLUGIN_VARIANT == 1 || !host) return nullptr;
    // A record with a wrong magic is never closed by a host, so it must not own memory.
    static Plugin unclosable;
    Plugin* p = TEST_PLUGIN_VARIANT == 2 ? &unclosable : new (std::nothrow) Plugin;
    if (!p) return nullptr;
    p->host = host;
    if (kShortRecord) {
        // Only the fields before processDoubleReplacing exist; a host reading further reads
        // past the allocation (which ASan reports).
        p->effect = static_cast<AEffect*>(::operator new(kShortRecordBytes));
        std::memset(static_cast<void*>(p->effect), 0, kShortRecordBytes);
    }
    AEffect& e = *p->effect;
    e.magic = TEST_PLUGIN_VARIANT == 2 ? 0x12345678 : kEffectMagic;
    e.dispatcher = Dispatcher;
    e.process = Process;
    e.setParameter = SetParameter;
    e.getParameter = GetParameter;
    e.numPrograms = kPrograms;
    e.numParams = kParams;
    e.numInputs = kSpeakers ? 1 : 2;
    e.numOutputs = kSpeakers ? 1 : 2;
    // The latency variant also stands for plug-ins without chunks: state as parameter lists.
    e.flags = effFlagsCanReplacing | (kLatency ? 0 : effFlagsProgramChunks);
    if (!kShortRecord) e.flags |= effFlagsCanDoubleReplacing;
    if (kFaultingEditor) e.flags |= effFlagsHasEditor;
    e.ioRatio = 1.0f;
    e.object = p;
    e.uniqueID = 0x5473476E;  // TsGn
    e.version = 1;
    e.processReplacing = ProcessReplacing;
    if (!kShortRecord) e.processDoubleReplacing = ProcessDouble;
    // Asked from inside the entry point, before the host knows the record.
    p->hostVersion = host(&e, audioMasterVersion, 0, 0, nullptr, 0.0f);
    return &e;
}
