#include "tests/validate/faults/FaultPlugin.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

#include "abi/OffscreenEditor.h"

#ifndef VALIDATE_FAULT
#define VALIDATE_FAULT 0
#endif

namespace {

constexpr bool kNameOverflow = VALIDATE_FAULT == 1;
constexpr bool kAudioAllocates = VALIDATE_FAULT == 2;
constexpr bool kUncheckedParameters = VALIDATE_FAULT == 3;
constexpr bool kCrashOnLongChunk = VALIDATE_FAULT == 4;
constexpr bool kLeaksInstances = VALIDATE_FAULT == 5;
constexpr bool kUncheckedChunks = VALIDATE_FAULT == 6;
constexpr bool kOpenGesture = VALIDATE_FAULT == 7;
constexpr bool kEditorNoWindow = VALIDATE_FAULT == 8;
constexpr bool kSlowParameterLock = VALIDATE_FAULT == 9;

constexpr int kParams = 3;  // Gain, Balance, Invert (a switch)
constexpr int kInvert = 2;
constexpr int kPrograms = 3;
constexpr int kNameBytes = 24;                  // program names, terminator included
constexpr uint32_t kProgramMagic = 0x46545047;  // FTPG
constexpr uint32_t kBankMagic = 0x4654424B;     // FTBK
constexpr size_t kLongChunk = size_t{256} << 10;
constexpr size_t kLeakedBytes = size_t{1} << 20;
constexpr int kMaxQueued = 256;  // MIDI messages kept for the next block
constexpr int kEditorWidth = 200, kEditorHeight = 60;
// Far over a quarter block (2.9 ms), so that most of the time the lock is held.
constexpr auto kSlowLock = std::chrono::milliseconds(16);

struct Program {
    char name[kNameBytes];
    float values[kParams];
};

struct ProgramChunk {
    uint32_t magic;
    Program program;
};

struct BankChunk {
    uint32_t magic;
    int32_t current;
    Program programs[kPrograms];
};

struct Plugin {
    AEffect effect{};
    // Every call takes it: hosts call from their audio, user-interface and other threads at once,
    // and may call back in while a call is running.
    std::recursive_mutex lock;
    audioMasterCallback host = nullptr;
    Program programs[kPrograms] = {
        {"Unity", {0.5f, 0.5f, 0.0f}}, {"Left", {0.4f, 0.0f, 0.0f}}, {"Inverted", {0.5f, 0.5f, 1.0f}}};
    int current = 0;
    ProgramChunk programChunk{};
    BankChunk bankChunk{};
    VstMidiEvent queued[kMaxQueued] = {};
    int queuedCount = 0;
    VstMidiEvent sent[kMaxQueued] = {};
    VstEvent* sentPointers[kMaxQueued] = {};
    bool editorOpen = false;
    int editorOpenings = 0;
    bool dragging = false;
    uint32_t pixels[kEditorWidth * kEditorHeight] = {};
    void* volatile scratch = nullptr;
    unsigned char* ballast = nullptr;
};

// Instances that were never freed, kept reachable so that only their growing memory shows.
std::mutex leakedLock;
Plugin* leaked[4096];
size_t leakedCount = 0;

Plugin* Self(AEffect* e) {
    return e ? static_cast<Plugin*>(e->object) : nullptr;
}

void Copy(void* ptr, size_t size, const char* text) {
    if (ptr && size > 0) std::snprintf(static_cast<char*>(ptr), size, "%s", text);
}

// A program name, read no further than its field (a faulty chunk may have left it unterminated).
void CopyName(void* ptr, const Program& program) {
    if (ptr) std::snprintf(static_cast<char*>(ptr), kNameBytes, "%.*s", kNameBytes - 1, program.name);
}

// A real memory fault, not one the sanitizers would stop first: the crash itself is the fault.
// The address is non-canonical, so the write faults on every x86-64 system.
__attribute__((no_sanitize("undefined", "address"), noinline)) void Crash() {
    volatile int* nowhere = reinterpret_cast<volatile int*>(uintptr_t{0x8000000000000000u});
    *nowhere = 1;
}

float Clamp(float v) {
    if (!(v >= 0.0f)) return 0.0f;  // NaN included
    return v > 1.0f ? 1.0f : v;
}

// What a parameter holds for a value set: the switch takes 0 or 1. The faulty setParameter
// skips the clamping.
float Stored(int index, float v, bool clamp = true) {
    if (index == kInvert) return v >= 0.5f ? 1.0f : 0.0f;
    return clamp ? Clamp(v) : v;
}

bool ProgramValid(const Program& program) {
    for (float v : program.values)
        if (!(v >= 0.0f && v <= 1.0f)) return false;
    return std::memchr(program.name, 0, sizeof program.name) != nullptr;
}

void Display(const Plugin* p, int index, char* out) {
    const float v = p->programs[p->current].values[index];
    if (index == 0)
        std::snprintf(out, 32, "%.2f", static_cast<double>(v) * 2.0);
    else if (index == 1)
        std::snprintf(out, 32, "%+.0f", (static_cast<double>(v) - 0.5) * 200.0);
    else
        Copy(out, 32, v >= 0.5f ? "On" : "Off");
}

void Notify(Plugin* p, int32_t opcode, int32_t index, float value = 0.0f) {
    p->host(&p->effect, opcode, index, 0, nullptr, value);
}

void SetFromEditor(Plugin* p, float value) {
    value = Clamp(value);
    p->programs[p->current].values[0] = value;
    Notify(p, audioMasterAutomate, 0, value);
}

intptr_t EditorInput(Plugin* p, const OffscreenEditorInput& in) {
    using In = OffscreenEditorInput;
    const float at = static_cast<float>(in.x) / kEditorWidth;
    switch (in.kind) {
        case In::kButtonDown:
        case In::kDoubleClick:
            if (in.buttons != In::kLeft || p->dragging) return 1;
            p->dragging = true;
            Notify(p, audioMasterBeginEdit, 0);
            SetFromEditor(p, at);
            return 1;
        case In::kMove:
            if (p->dragging) SetFromEditor(p, at);
            return 1;
        case In::kButtonUp:
            if (!p->dragging) return 1;
            p->dragging = false;
            if (!kOpenGesture) Notify(p, audioMasterEndEdit, 0);
            return 1;
        case In::kWheel:
            if (p->dragging || in.amount == 0) return 1;
            Notify(p, audioMasterBeginEdit, 0);
            SetFromEditor(p, p->programs[p->current].values[0] + 0.05f * static_cast<float>(in.amount));
            Notify(p, audioMasterEndEdit, 0);
            return 1;
        case In::kKeyDown:
        case In::kCharacter:
        case In::kTick:
            return 1;
        default:
            return 0;
    }
}

void Paint(Plugin* p) {
    const int filled = static_cast<int>(p->programs[p->current].values[0] * kEditorWidth);
    for (int y = 0; y < kEditorHeight; ++y)
        for (int x = 0; x < kEditorWidth; ++x)
            p->pixels[y * kEditorWidth + x] = x < filled ? 0xFF3070C0u : 0xFF202020u;
}

intptr_t Vendor(Plugin* p, int32_t index, intptr_t value, void* ptr) {
    if (index != kOffscreenEditorIndex || !ptr || kEditorNoWindow) return 0;
    if (value == kOffscreenInput) return EditorInput(p, *static_cast<const OffscreenEditorInput*>(ptr));
    if (value != kOffscreenPixels) return 0;
    Paint(p);
    auto* out = static_cast<OffscreenEditorPixels*>(ptr);
    out->width = kEditorWidth;
    out->height = kEditorHeight;
    out->rowSpan = kEditorWidth;
    out->pixels = p->pixels;
    return 1;
}

intptr_t SetChunk(Plugin* p, bool bank, const void* data, size_t size) {
    if (!data) return 0;
    if (kCrashOnLongChunk && size > kLongChunk) Crash();
    const auto* bytes = static_cast<const char*>(data);
    if (bank) {
        BankChunk chunk;
        bool valid = size == sizeof chunk;
        if (valid) {
            std::memcpy(&chunk, data, sizeof chunk);
            valid = chunk.magic == kBankMagic && chunk.current >= 0 && chunk.current < kPrograms;
            for (const Program& program : chunk.programs) valid = valid && ProgramValid(program);
        }
        if (valid) {
            std::memcpy(p->programs, chunk.programs, sizeof p->programs);
            p->current = chunk.current;
            return 1;
        }
        if (kUncheckedChunks && size >= sizeof chunk)
            std::memcpy(p->programs, bytes + offsetof(BankChunk, programs), sizeof p->programs);
        return 0;
    }
    ProgramChunk chunk;
    bool valid = size == sizeof chunk;
    if (valid) {
        std::memcpy(&chunk, data, sizeof chunk);
        valid = chunk.magic == kProgramMagic && ProgramValid(chunk.program);
    }
    if (valid) {
        p->programs[p->current] = chunk.program;
        return 1;
    }
    if (kUncheckedChunks && size >= sizeof chunk)
        std::memcpy(&p->programs[p->current], bytes + offsetof(ProgramChunk, program), sizeof(Program));
    return 0;
}

intptr_t GetChunk(Plugin* p, bool bank, void* ptr) {
    if (!ptr) return 0;
    if (bank) {
        p->bankChunk.magic = kBankMagic;
        p->bankChunk.current = p->current;
        std::memcpy(p->bankChunk.programs, p->programs, sizeof p->programs);
        *static_cast<void**>(ptr) = &p->bankChunk;
        return sizeof(BankChunk);
    }
    p->programChunk.magic = kProgramMagic;
    p->programChunk.program = p->programs[p->current];
    *static_cast<void**>(ptr) = &p->programChunk;
    return sizeof(ProgramChunk);
}

// Short MIDI messages are kept (as many as fit) and sent back at the start of the next block.
void Receive(Plugin* p, const VstEvents* events) {
    if (events->numEvents < 0) return;
    for (int32_t i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = events->events[i];
        if (!event || event->type != kVstMidiType ||
            event->byteSize < static_cast<int32_t>(sizeof(VstMidiEvent)))
            continue;
        if (p->queuedCount == kMaxQueued) return;
        std::memcpy(&p->queued[p->queuedCount++], event, sizeof(VstMidiEvent));
    }
}

void SendBack(Plugin* p, int32_t frames) {
    if (p->queuedCount == 0 || frames <= 0) return;
    for (int i = 0; i < p->queuedCount; ++i) {
        VstMidiEvent& out = p->sent[i];
        out = p->queued[i];
        out.byteSize = sizeof(VstMidiEvent);
        if (out.deltaFrames < 0) out.deltaFrames = 0;
        if (out.deltaFrames >= frames) out.deltaFrames = frames - 1;
        p->sentPointers[i] = reinterpret_cast<VstEvent*>(&out);
    }
    // The list's pointer array continues past the two declared entries, as hosts lay it out.
    alignas(VstEvents) unsigned char storage[sizeof(VstEvents) + sizeof(VstEvent*) * kMaxQueued];
    auto* list = reinterpret_cast<VstEvents*>(storage);
    list->numEvents = p->queuedCount;
    list->reserved = 0;
    std::memcpy(storage + offsetof(VstEvents, events), p->sentPointers,
                sizeof(VstEvent*) * static_cast<size_t>(p->queuedCount));
    p->queuedCount = 0;
    p->host(&p->effect, audioMasterProcessEvents, 0, 0, list, 0.0f);
}

void Close(Plugin* p) {
    if (kLeaksInstances) {
        std::lock_guard<std::mutex> guard(leakedLock);
        if (leakedCount < sizeof leaked / sizeof leaked[0]) {
            leaked[leakedCount++] = p;
            return;
        }
    }
    std::free(p->ballast);
    delete p;
}

intptr_t Dispatcher(AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr, float) noexcept {
    Plugin* p = Self(e);
    if (!p) return 0;
    if (opcode == effClose) {
        Close(p);
        return 0;
    }
    std::lock_guard<std::recursive_mutex> hold(p->lock);
    Program& program = p->programs[p->current];
    const bool param = index >= 0 && index < kParams;
    switch (opcode) {
        case effSetProgram:
            if (value >= 0 && value < kPrograms) p->current = static_cast<int>(value);
            return 0;
        case effGetProgram:
            return p->current;
        case effSetProgramName:
            if (ptr) Copy(program.name, sizeof program.name, static_cast<const char*>(ptr));
            return 0;
        case effGetProgramName:
            CopyName(ptr, program);
            return 0;
        case effGetProgramNameIndexed:
            if (index < 0 || index >= kPrograms) return 0;
            CopyName(ptr, p->programs[index]);
            return 1;
        case effGetParamName:
            if (param) Copy(ptr, 32, index == 0 ? "Gain" : index == 1 ? "Balance" : "Invert");
            return 0;
        case effGetParamLabel:
            if (param) Copy(ptr, 32, index == 0 ? "x" : index == 1 ? "%" : "");
            return 0;
        case effGetParamDisplay:
            if (param && ptr) Display(p, index, static_cast<char*>(ptr));
            return 0;
        case effCanBeAutomated:
            return param ? 1 : 0;
        case effString2Parameter: {
            if (!param || !ptr) return 0;
            const char* text = static_cast<const char*>(ptr);
            char* end = nullptr;
            const double v = std::strtod(text, &end);
            if (end == text || !std::isfinite(v)) return 0;
            program.values[index] = Stored(index, static_cast<float>(v));
            return 1;
        }
        case effGetParameterProperties: {
            if (index != kInvert || !ptr) return 0;
            auto* props = static_cast<VstParameterProperties*>(ptr);
            std::memset(props, 0, sizeof *props);
            props->flags = kVstParameterIsSwitch;
            Copy(props->label, sizeof props->label, "Invert");
            Copy(props->shortLabel, sizeof props->shortLabel, "Inv");
            return 1;
        }
        case effGetEffectName:
            if (kNameOverflow && ptr)
                std::memcpy(ptr, "Fault Test with a name far longer than allowed.", 48);
            else
                Copy(ptr, 33, "Fault Test");
            return 1;
        case effGetVendorString:
            Copy(ptr, 65, "Vesmar Tests");
            return 1;
        case effGetProductString:
            Copy(ptr, 65, "Validator Fault Module");
            return 1;
        case effGetVendorVersion:
            return 1000 + VALIDATE_FAULT;
        case effGetVstVersion:
            return 2400;
        case effGetPlugCategory:
            return kPlugCategEffect;
        case effGetTailSize:
            return 1;  // no tail
        case effCanDo: {
            if (!ptr) return 0;
            const char* text = static_cast<const char*>(ptr);
            for (const char* known :
                 {"receiveVstEvents", "receiveVstMidiEvent", "sendVstEvents", "sendVstMidiEvent"})
                if (std::strcmp(text, known) == 0) return 1;
            return 0;
        }
        case effProcessEvents:
            if (ptr) Receive(p, static_cast<const VstEvents*>(ptr));
            return 1;
        case effGetChunk:
            return GetChunk(p, index == 0, ptr);
        case effSetChunk:
            return value < 0 ? 0 : SetChunk(p, index == 0, ptr, static_cast<size_t>(value));
        case effEditGetRect: {
            static ERect rect = {0, 0, kEditorHeight, kEditorWidth};
            if (ptr) *static_cast<ERect**>(ptr) = &rect;
            return ptr ? 1 : 0;
        }
        case effEditOpen:
            if (kEditorNoWindow && p->editorOpenings > 0) Crash();
            ++p->editorOpenings;
            p->editorOpen = true;
            return 1;
        case effEditClose:
            if (p->dragging && !kOpenGesture) Notify(p, audioMasterEndEdit, 0);
            p->dragging = false;
            p->editorOpen = false;
            return 0;
        case effVendorSpecific:
            return Vendor(p, index, value, ptr);
        default:
            return 0;
    }
}

// Denormal input is flushed: classified without arithmetic on it, which would be slow.
template <typename Sample>
Sample Flushed(Sample v) {
    return std::fpclassify(v) == FP_SUBNORMAL ? Sample(0) : v;
}

// Left and right gain with balance, the polarity inverted by the switch.
template <typename Sample>
void Run(Plugin* p, Sample** in, Sample** out, int32_t frames, bool accumulate) {
    if (!in || !out || frames <= 0) return;
    std::lock_guard<std::recursive_mutex> hold(p->lock);
    SendBack(p, frames);
    if (kAudioAllocates) {
        p->scratch = std::malloc(sizeof(Sample) * static_cast<size_t>(frames));
        std::free(p->scratch);
    }
    const float* v = p->programs[p->current].values;
    const Sample gain = static_cast<Sample>(v[0]) * Sample(2) * (v[kInvert] >= 0.5f ? Sample(-1) : Sample(1));
    const Sample side[2] = {gain * static_cast<Sample>(std::fmin(1.0f, 2.0f - 2.0f * v[1])),
                            gain * static_cast<Sample>(std::fmin(1.0f, 2.0f * v[1]))};
    for (int c = 0; c < 2; ++c)
        for (int32_t i = 0; i < frames; ++i) {
            const Sample s = Flushed(in[c][i]) * side[c];
            out[c][i] = accumulate ? out[c][i] + s : s;
        }
}

void Process(AEffect* e, float** in, float** out, int32_t frames) noexcept {
    if (Plugin* p = Self(e)) Run(p, in, out, frames, true);
}
void ProcessReplacing(AEffect* e, float** in, float** out, int32_t frames) noexcept {
    if (Plugin* p = Self(e)) Run(p, in, out, frames, false);
}
void ProcessDouble(AEffect* e, double** in, double** out, int32_t frames) noexcept {
    if (Plugin* p = Self(e)) Run(p, in, out, frames, false);
}

void SetParameter(AEffect* e, int32_t index, float value) noexcept {
    Plugin* p = Self(e);
    if (!p || index < 0 || index >= kParams) return;
    std::lock_guard<std::recursive_mutex> hold(p->lock);
    p->programs[p->current].values[index] = Stored(index, value, !kUncheckedParameters);
    if (kSlowParameterLock) std::this_thread::sleep_for(kSlowLock);
}

float GetParameter(AEffect* e, int32_t index) noexcept {
    Plugin* p = Self(e);
    if (!p || index < 0 || index >= kParams) return 0.0f;
    std::lock_guard<std::recursive_mutex> hold(p->lock);
    return p->programs[p->current].values[index];
}

}  // namespace

AEffect* CreateFaultPlugin(audioMasterCallback host) {
    if (!host) return nullptr;
    Plugin* p = new (std::nothrow) Plugin;
    if (!p) return nullptr;
    p->host = host;
    if (kLeaksInstances) {
        p->ballast = static_cast<unsigned char*>(std::malloc(kLeakedBytes));
        if (p->ballast) std::memset(p->ballast, 1, kLeakedBytes);
    }
    AEffect& e = p->effect;
    e.magic = kEffectMagic;
    e.dispatcher = Dispatcher;
    e.process = Process;
    e.setParameter = SetParameter;
    e.getParameter = GetParameter;
    e.numPrograms = kPrograms;
    e.numParams = kParams;
    e.numInputs = 2;
    e.numOutputs = 2;
    e.flags = effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks | effFlagsCanDoubleReplacing;
    e.ioRatio = 1.0f;
    e.object = p;
    e.uniqueID = 0x56664600 + VALIDATE_FAULT;  // 'VfF' and the fault
    e.version = 1000;
    e.processReplacing = ProcessReplacing;
    e.processDoubleReplacing = ProcessDouble;
    return &e;
}
