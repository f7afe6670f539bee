#include "tools/vsthost/editor/OffscreenEditorHost.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <thread>

#include "abi/OffscreenEditor.h"

namespace {

constexpr int32_t kReturnKey = 0x0D;
// The rate our editors' window timer runs at; an offscreen editor has no timer and gets its ticks
// from the host at the same pace.
constexpr int kTicksPerSecond = 24;

// The virtual key a US keyboard sends for a character, 0 for none.
int32_t VirtualKeyOf(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (std::isalpha(u)) return std::toupper(u);
    if (std::isdigit(u) || c == ' ') return u;
    if (c == '.') return 0xBE;
    if (c == '-') return 0xBD;
    return 0;
}

class OffscreenEditorHost : public EditorHost {
  public:
    explicit OffscreenEditorHost(const std::string& why)
        : why(why), description("offscreen (" + why + "), picture from the editor's back buffer") {}

    bool Open(HostedEffect& fx, int, int, std::string& error) override {
        effect = &fx;
        // There is no window to hand to effEditOpen; the first tick tells whether the plug-in's
        // editor can be driven offscreen.
        OffscreenEditorInput tick;
        tick.kind = OffscreenEditorInput::kTick;
        if (!Send(tick)) {
            error = "the plug-in's editor cannot be driven without a window (" + why + ")";
            return false;
        }
        return true;
    }

    void Tick(int ticks) override {
        OffscreenEditorInput tick;
        tick.kind = OffscreenEditorInput::kTick;
        for (int i = 0; i < ticks; ++i) Send(tick);
    }

    void Wait(int milliseconds) override {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point start = Clock::now();
        const Clock::time_point end = start + std::chrono::milliseconds(milliseconds);
        OffscreenEditorInput tick;
        tick.kind = OffscreenEditorInput::kTick;
        // Ticks fall on the wall clock's grid from the start, so slow ticks do not slow the rate.
        for (int64_t n = 1;; ++n) {
            const Clock::time_point due =
                start + std::chrono::duration_cast<Clock::duration>(
                            std::chrono::duration<double>(static_cast<double>(n) / kTicksPerSecond));
            if (due > end) break;
            std::this_thread::sleep_until(due);
            Send(tick);
        }
        std::this_thread::sleep_until(end);
    }

    bool Capture(Screenshot& shot, std::string& error) override {
        OffscreenEditorPixels pixels;
        if (effect->Dispatch(effVendorSpecific, kOffscreenEditorIndex, kOffscreenPixels, &pixels) != 1 ||
            !pixels.pixels || pixels.width <= 0 || pixels.height <= 0 || pixels.rowSpan < pixels.width) {
            error = "the plug-in gave no editor picture";
            return false;
        }
        // The pixels belong to the plug-in: copied at once.
        shot.width = pixels.width;
        shot.height = pixels.height;
        shot.pixels.resize(static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height));
        for (int y = 0; y < pixels.height; ++y) {
            const uint32_t* row =
                pixels.pixels + static_cast<size_t>(y) * static_cast<size_t>(pixels.rowSpan);
            std::copy(row, row + pixels.width,
                      shot.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(pixels.width));
        }
        return true;
    }

    void Close() override {
        // The host closes the editor as it would a window, ending whatever gesture is still open.
        if (effect) effect->Dispatch(effEditClose);
        effect = nullptr;
    }

    const char* Description() const override { return description.c_str(); }

  protected:
    bool HoldModifiers(const EditorModifiers& m, std::string&) override {
        using In = OffscreenEditorInput;
        modifiers = (m.shift ? In::kShift : 0) | (m.control ? In::kControl : 0) | (m.alt ? In::kAlt : 0);
        return true;
    }
    void ReleaseModifiers() override { modifiers = 0; }

    bool MovePointer(int x, int y, bool dragging, std::string&) override {
        Pointer(OffscreenEditorInput::kMove, dragging ? OffscreenEditorInput::kLeft : 0, x, y);
        return true;
    }
    bool PressButton(Button button, int x, int y, bool secondClick, std::string&) override {
        using In = OffscreenEditorInput;
        Pointer(secondClick ? In::kDoubleClick : In::kButtonDown,
                button == Button::Left ? In::kLeft : In::kRight, x, y);
        return true;
    }
    bool ReleaseButton(Button, int x, int y, std::string&) override {
        Pointer(OffscreenEditorInput::kButtonUp, 0, x, y);
        return true;
    }
    bool TurnWheel(int x, int y, int notches, std::string&) override {
        Pointer(OffscreenEditorInput::kWheel, 0, x, y, notches);
        return true;
    }
    bool TypeCharacter(char c, std::string&) override {
        if (int32_t vk = VirtualKeyOf(c)) Pointer(OffscreenEditorInput::kKeyDown, 0, lastX, lastY, vk);
        Pointer(OffscreenEditorInput::kCharacter, 0, lastX, lastY, static_cast<unsigned char>(c));
        return true;
    }
    bool PressEnter(std::string& error) override { return PressKey(kReturnKey, error); }
    bool PressKey(int virtualKey, std::string&) override {
        Pointer(OffscreenEditorInput::kKeyDown, 0, lastX, lastY, virtualKey);
        return true;
    }
    bool SelectEntry(int entry, std::string& error) override {
        if (Pointer(OffscreenEditorInput::kChoose, 0, lastX, lastY, entry)) return true;
        error = "select: no drop-down list with entry " + std::to_string(entry) + " is open";
        return false;
    }

  private:
    bool Pointer(int32_t kind, int32_t buttons, int x, int y, int32_t amount = 0) {
        OffscreenEditorInput input;
        input.kind = kind;
        input.x = x;
        input.y = y;
        input.buttons = buttons;
        input.modifiers = modifiers;
        input.amount = amount;
        lastX = x;
        lastY = y;
        return Send(input);
    }

    bool Send(OffscreenEditorInput& input) {
        return effect->Dispatch(effVendorSpecific, kOffscreenEditorIndex, kOffscreenInput, &input) == 1;
    }

    const std::string why;
    const std::string description;
    HostedEffect* effect = nullptr;
    int32_t modifiers = 0;
    int lastX = 0, lastY = 0;
};

}  // namespace

std::unique_ptr<EditorHost> CreateOffscreenEditorHost(const std::string& why) {
    return std::make_unique<OffscreenEditorHost>(why);
}
