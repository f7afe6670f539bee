// Drives one effect instance through its record with a program read from the fuzz input:
// state chunks of any size and content, VstEvents lists with null entries and odd types and
// sizes, parameter values (NaN included), generic opcodes with hostile arguments, and audio
// blocks of any length through all three callbacks; the editor opcodes without a parent window,
// the host's wheel forwarding, and mouse and key input dispatched and painted on the editor's
// back buffer.
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "editor/IEditorGraphics.h"
#include "effect/CreateEffect.h"
#include "vst/IVstPlugin.h"
#include "tools/vsthost/host/SilentHost.h"
#include "tools/vsthost/host/VstEventList.h"

namespace {

class Input {
  public:
    Input(const uint8_t* data, size_t size) : p(data), end(data + size) {}
    bool Empty() const { return p >= end; }
    uint8_t Byte() { return p < end ? *p++ : 0; }
    template <typename T>
    T Value() {
        T v{};
        const size_t n = std::min(sizeof v, static_cast<size_t>(end - p));
        std::memcpy(&v, p, n);
        p += n;
        return v;
    }
    // Up to max bytes of the input itself (the caller owns nothing; the bytes live in the input).
    const uint8_t* Take(size_t wanted, size_t& got) {
        got = std::min(wanted, static_cast<size_t>(end - p));
        const uint8_t* at = p;
        p += got;
        return at;
    }

  private:
    const uint8_t* p;
    const uint8_t* end;
};

constexpr int kMaxFrames = 4096;

void Events(AEffect* e, Input& in) {
    const size_t count = in.Byte() % 17u;
    // Every record is as long as the longest event, so odd type and size fields never make the
    // plug-in read past what a real host would have allocated for the type it claims.
    std::vector<VstMidiSysexEvent> records(count);
    const bool negativeCount = in.Byte() & 0x80;
    std::vector<VstEvent*> entries(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t kind = in.Byte();
        VstMidiSysexEvent& r = records[i];
        r.type = kind % 4 == 0 ? kVstMidiType : kind % 4 == 1 ? kVstSysExType : in.Value<int32_t>();
        r.byteSize = (kind & 0x10) ? in.Value<int32_t>() : (r.type == kVstSysExType ? 48 : 32);
        r.deltaFrames = in.Value<int32_t>();
        if (r.type == kVstMidiType) {
            auto& m = reinterpret_cast<VstMidiEvent&>(r);
            for (char& b : m.midiData) b = static_cast<char>(in.Byte());
        } else {
            size_t got = 0;
            const uint8_t* dump = in.Take(in.Byte(), got);
            r.dumpBytes = static_cast<int32_t>(got);
            r.sysexDump = (kind & 0x20) ? nullptr : const_cast<char*>(reinterpret_cast<const char*>(dump));
        }
        entries[i] = (kind & 0x40) ? nullptr : reinterpret_cast<VstEvent*>(&r);
    }
    VstEventList list(entries);
    if (negativeCount) list.List()->numEvents = -static_cast<int32_t>(count);
    e->dispatcher(e, effProcessEvents, 0, 0, list.List(), 0);
}

void Process(AEffect* e, Input& in) {
    static std::vector<float> f[4];
    static std::vector<double> d[4];
    const int frames = in.Value<uint16_t>() % (kMaxFrames + 1);
    for (auto& v : f) v.assign(kMaxFrames, 0.25f);
    for (auto& v : d) v.assign(kMaxFrames, -0.5);
    float* fin[2] = {f[0].data(), f[1].data()};
    float* fout[2] = {f[2].data(), f[3].data()};
    double* din[2] = {d[0].data(), d[1].data()};
    double* dout[2] = {d[2].data(), d[3].data()};
    switch (in.Byte() % 4) {
        case 0:
            e->processReplacing(e, fin, fout, frames);
            break;
        case 1:
            e->process(e, fin, fout, frames);
            break;
        case 2:
            e->processDoubleReplacing(e, din, dout, frames);
            break;
        default:
            e->processReplacing(e, nullptr, fout, frames);
            break;
    }
}

void Opcode(AEffect* e, Input& in) {
    int32_t opcode = in.Byte();
    // The plug-in's own lifetime is not the fuzzer's to choose.
    if (opcode == effClose) return;
    // There is no parent window to give: the editor is opened without one.
    if (opcode == effEditOpen) {
        e->dispatcher(e, effEditOpen, 0, 0, nullptr, 0);
        return;
    }
    const int32_t index = in.Value<int32_t>();
    // A value that is a pointer for these opcodes stays null.
    const bool valueIsPointer = opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
    intptr_t value = valueIsPointer ? 0 : in.Value<int32_t>();
    const float opt = in.Value<float>();
    alignas(16) char buffer[1024] = {};
    size_t got = 0;
    const uint8_t* text = in.Take(in.Byte(), got);
    std::memcpy(buffer, text, got);  // terminated: the rest of the buffer stays zero
    if (opcode == effSetChunk && (value < 0 || value > static_cast<intptr_t>(sizeof buffer)))
        value = sizeof buffer;
    if (opcode == effProcessEvents) std::memset(buffer, 0, sizeof buffer);
    e->dispatcher(e, opcode, index, value, (in.Byte() & 1) ? nullptr : buffer, opt);
}

// A coordinate near the editor most of the time, anywhere in the 32-bit range otherwise.
int Coordinate(Input& in, int size) {
    const int32_t raw = in.Value<int32_t>();
    if (raw & 0x40000000) return raw;
    return static_cast<int>(static_cast<uint32_t>(raw) % static_cast<uint32_t>(size + 41)) - 20;
}

// Mouse, wheel and key input as the window would deliver it, then the timer's repaint.
void EditorInput(AEffect* e, IEditorGraphics* editor, Input& in) {
    const uint8_t kind = in.Byte();
    const int x = Coordinate(in, editor->Width()), y = Coordinate(in, editor->Height());
    const uint8_t bits = in.Byte();
    IMouseKeys keys;
    keys.left = bits & 1;
    keys.right = bits & 2;
    keys.shift = bits & 4;
    keys.control = bits & 8;
    keys.alt = bits & 16;
    switch (kind % 10) {
        case 0:
            editor->HandleMouseDown(x, y, keys);
            break;
        case 1:
            editor->HandleMouseUp(x, y, keys);
            break;
        case 2:
            editor->HandleMouseDrag(x, y, keys);
            break;
        case 3:
            editor->HandleDoubleClick(x, y, keys);
            break;
        case 4:
            editor->HandleMouseWheel(x, y, keys, static_cast<int8_t>(in.Byte()));
            break;
        case 5:
            editor->HandleKeyDown(x, y, in.Byte() % 41);
            break;
        case 6:
            editor->trackMouseOver = bits & 32;
            editor->HandleMouseOver(x, y, keys);
            break;
        case 7:
            editor->HandleMouseOut();
            break;
        case 8:
            e->dispatcher(e, effVendorSpecific, 0x73744341, 0x57686565, nullptr, in.Value<float>());
            break;
        default:
            e->dispatcher(e, effEditClose, 0, 0, nullptr, 0);
            break;
    }
    IPixelRect area;
    if (editor->CollectDirty(area)) editor->PaintArea(area);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<IPluginCore> effect = CreateEffect();
    if (!effect) return 0;
    auto* plugin = new IVstPlugin(&SilentHostCallback, std::move(effect));
    AEffect* e = plugin->Effect();
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0);
    e->dispatcher(e, effSetBlockSize, 0, 256, nullptr, 0);
    // The editor, when the effect has one; the window is never opened, so the input goes straight
    // to the graphics context.
    auto* editor = dynamic_cast<IEditorGraphics*>(plugin->Core().Editor());
    Input in(data, size);
    for (int step = 0; step < 64 && !in.Empty(); ++step) {
        const uint8_t what = in.Byte();
        if (what % 7 == 6) {
            if (editor) EditorInput(e, editor, in);
            continue;
        }
        switch (what % 7) {
            case 0: {  // a chunk straight from the input
                const bool bank = in.Byte() & 1;
                size_t got = 0;
                const uint8_t* bytes = in.Take(in.Value<uint16_t>(), got);
                std::vector<uint8_t> chunk(bytes, bytes + got);  // exactly got bytes, so overreads show
                e->dispatcher(e, effSetChunk, bank ? 0 : 1, static_cast<intptr_t>(chunk.size()), chunk.data(),
                              0);
                break;
            }
            case 1: {  // save and restore
                void* saved = nullptr;
                const int32_t index = in.Byte() & 1;
                const intptr_t n = e->dispatcher(e, effGetChunk, index, 0, &saved, 0);
                if (n > 0) {
                    std::vector<uint8_t> copy(static_cast<const uint8_t*>(saved),
                                              static_cast<const uint8_t*>(saved) + n);
                    e->dispatcher(e, effSetChunk, index, n, copy.data(), 0);
                }
                break;
            }
            case 2:
                Events(e, in);
                break;
            case 3:
                e->setParameter(e, in.Value<int32_t>() % 12, in.Value<float>());
                break;
            case 4:
                Process(e, in);
                break;
            default:
                Opcode(e, in);
                break;
        }
    }
    e->dispatcher(e, effClose, 0, 0, nullptr, 0);
    return 0;
}
