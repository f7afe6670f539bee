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

    bool Perform(const EditorStep& step, std::string& error) override {
        using Kind = EditorStep::Kind;
        using In = OffscreenEditorInput;
        modifiers = (step.modifiers.shift ? In::kShift : 0) | (step.modifiers.control ? In::kControl : 0) |
                    (step.modifiers.alt ? In::kAlt : 0);
        switch (step.kind) {
            case Kind::Move:
                Pointer(In::kMove, 0, step.x, step.y);
                break;
            case Kind::Click:
                Pointer(In::kButtonDown, In::kLeft, step.x, step.y);
                Pointer(In::kButtonUp, 0, step.x, step.y);
                break;
            case Kind::RightClick:
                Pointer(In::kButtonDown, In::kRight, step.x, step.y);
                Pointer(In::kButtonUp, 0, step.x, step.y);
                break;
            case Kind::DoubleClick:
                Pointer(In::kButtonDown, In::kLeft, step.x, step.y);
                Pointer(In::kButtonUp, 0, step.x, step.y);
                Pointer(In::kDoubleClick, In::kLeft, step.x, step.y);
                Pointer(In::kButtonUp, 0, step.x, step.y);
                break;
            case Kind::Drag:
                Pointer(In::kButtonDown, In::kLeft, step.x, step.y);
                for (int i = 1; i <= EditorStep::kDragSteps; ++i) {
                    Pointer(In::kMove, In::kLeft, step.x + (step.x2 - step.x) * i / EditorStep::kDragSteps,
                            step.y + (step.y2 - step.y) * i / EditorStep::kDragSteps);
                }
                Pointer(In::kButtonUp, 0, step.x2, step.y2);
                break;
            case Kind::Wheel:
                Pointer(In::kWheel, 0, step.x, step.y, step.amount);
                break;
            case Kind::Type:
                for (char c : step.text) {
                    if (int32_t vk = VirtualKeyOf(c)) Pointer(In::kKeyDown, 0, lastX, lastY, vk);
                    Pointer(In::kCharacter, 0, lastX, lastY, static_cast<unsigned char>(c));
                }
                break;
            case Kind::Enter:
                Pointer(In::kKeyDown, 0, lastX, lastY, kReturnKey);
                break;
            case Kind::Key:
                Pointer(In::kKeyDown, 0, lastX, lastY, step.key);
                break;
            case Kind::Select:
                if (!Pointer(In::kChoose, 0, lastX, lastY, step.amount)) {
                    error =
                        "select: no drop-down list with entry " + std::to_string(step.amount) + " is open";
                    return false;
                }
                break;
            case Kind::Tick:
            case Kind::Wait:
            case Kind::Shot:
                // Timing and pictures are the command's own steps, never input.
                error = "'" + step.Describe() + "' is not an input step";
                return false;
        }
        return true;
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
