// `vsthost editor` on Linux: with an X display, a real top-level host window with the plug-in's
// editor as its child (effEditOpen gets our Window id), idled every 15 ms as Linux hosts do, the
// script's input sent through the server with XTest and the picture read back from the server.
// Without a display, with --offscreen, or when the plug-in opens no editor in the window, the
// offscreen editor instead.
#include "tools/vsthost/editor/EditorHost.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <thread>

#include "base/x11/X11Keyboard.h"
#include "tools/vsthost/editor/OffscreenEditorHost.h"
#include "tools/vsthost/editor/x11/X11HostWindow.h"

namespace {

using Clock = std::chrono::steady_clock;

// How often the host calls effEditIdle while the editor runs (hosts use 10-50 ms).
constexpr auto kIdleInterval = std::chrono::milliseconds(15);
// The rate our editors' timer runs at: `tick N` lets N of its periods pass.
constexpr int kTicksPerSecond = 24;
// How long the plug-in's editor window may take to appear inside ours.
constexpr auto kChildTimeout = std::chrono::seconds(2);
// X has no double click: the editor takes a second left press within 400 ms and 4 pixels of the
// first as one. A single click the script places there sooner waits until it no longer counts
// (with a margin for the server's clock), as a user's second, slower click would.
constexpr auto kDoubleClickTime = std::chrono::milliseconds(400 + 60);
constexpr int kDoubleClickDistance = 4 + 2;
// The drop-down list is drawn by the editor and chosen from with the keyboard: Up this often
// reaches its first entry from wherever the highlight starts.
constexpr int kListUpPresses = 64;
constexpr uint8_t kLeftButton = 1, kRightButton = 3, kWheelUp = 4, kWheelDown = 5;
constexpr int kReturnKey = 0x0D, kUpKey = 0x26, kDownKey = 0x28;

class X11EditorHost : public EditorHost {
  public:
    ~X11EditorHost() override { Close(); }

    bool Open(HostedEffect& fx, int width, int height, std::string& error) override {
        effect = &fx;
        this->width = width;
        this->height = height;
        std::string why;
        if (!window.Open(width, height, "vsthost \xE2\x80\x94 " + fx.Text(effGetEffectName), why))
            return Fallback(fx, width, height, "X11: " + why, error);
        if (fx.Dispatch(effEditOpen, 0, 0,
                        reinterpret_cast<void*>(static_cast<uintptr_t>(window.Window()))) == 0) {
            window.Close();
            return Fallback(fx, width, height, "the plug-in opened no editor in an X11 window", error);
        }
        opened = true;
        const Clock::time_point give_up = Clock::now() + kChildTimeout;
        while ((editor = window.NewestChild()) == 0 && Clock::now() < give_up) {
            Idle();
            std::this_thread::sleep_for(kIdleInterval);
        }
        if (!editor) {
            error = "the plug-in opened no editor window inside the host window";
            return false;
        }
        if (!window.HasXTest()) {
            error =
                "the X server has no XTest extension (or libxcb-xtest.so.0 is missing): no input can be sent";
            return false;
        }
        if (!keyboard.Load(*XcbLibrary::Get(), window.Connection())) {
            error = "cannot read the X server's keyboard mapping";
            return false;
        }
        Settle();
        return true;
    }

    void Tick(int ticks) override {
        if (fallback) return fallback->Tick(ticks);
        Wait((ticks * 1000 + kTicksPerSecond - 1) / kTicksPerSecond);
    }

    // effEditIdle every 15 ms, as a host's user-interface loop calls it, until the time is up.
    void Wait(int milliseconds) override {
        if (fallback) return fallback->Wait(milliseconds);
        const Clock::time_point start = Clock::now();
        const Clock::time_point end = start + std::chrono::milliseconds(milliseconds);
        for (Clock::time_point next = start;; next += kIdleInterval) {
            std::this_thread::sleep_until(std::min(next, end));
            Idle();
            if (next >= end) return;
        }
    }

    bool Perform(const EditorStep& step, std::string& error) override {
        if (fallback) return fallback->Perform(step, error);
        return EditorHost::Perform(step, error);
    }

    bool Capture(Screenshot& shot, std::string& error) override {
        if (fallback) return fallback->Capture(shot, error);
        if (!editor) {
            error = "the editor window is gone";
            return false;
        }
        Settle();
        return window.Capture(editor, width, height, shot, error);
    }

    void Close() override {
        if (fallback) return fallback->Close();
        if (opened && effect) effect->Dispatch(effEditClose);
        opened = false;
        editor = 0;
        window.Close();
    }

    const char* Description() const override {
        if (fallback) return fallback->Description();
        return "child of a top-level X11 host window, input through XTest, captured from the editor window";
    }

  protected:
    bool HoldModifiers(const EditorModifiers& m, std::string& error) override {
        held = m;
        return Modifiers(m, true, error);
    }
    void ReleaseModifiers() override {
        std::string ignored;
        Modifiers(held, false, ignored);
    }
    bool MovePointer(int x, int y, bool, std::string& error) override { return MoveTo(x, y, error); }
    bool PressButton(Button button, int x, int y, bool secondClick, std::string& error) override {
        // A second click goes at once: the editor's own rule makes it a double click.
        return Press(button == Button::Left ? kLeftButton : kRightButton, x, y, error, !secondClick);
    }
    bool ReleaseButton(Button button, int, int, std::string&) override {
        return Release(button == Button::Left ? kLeftButton : kRightButton);
    }
    bool TurnWheel(int x, int y, int notches, std::string& error) override {
        // One button click a notch: 4 turns away from the user, 5 towards.
        if (!MoveTo(x, y, error)) return false;
        for (int i = 0; i < std::abs(notches); ++i) {
            const uint8_t button = notches > 0 ? kWheelUp : kWheelDown;
            window.FakeButton(button, true);
            window.FakeButton(button, false);
            Settle();
        }
        return true;
    }
    bool TypeCharacter(char c, std::string& error) override {
        if (Key(keyboard.ForCharacter(c), error)) return true;
        error = "type: the X keyboard has no key for '" + std::string(1, c) + "'";
        return false;
    }
    bool PressEnter(std::string& error) override { return Key(keyboard.ForVirtualKey(kReturnKey), error); }
    bool PressKey(int virtualKey, std::string& error) override {
        return MoveTo(lastX, lastY, error) && Key(keyboard.ForVirtualKey(virtualKey), error);
    }
    bool SelectEntry(int entry, std::string& error) override { return Select(entry, error); }

  private:
    bool Fallback(HostedEffect& fx, int w, int h, const std::string& why, std::string& error) {
        fallback = CreateOffscreenEditorHost(why);
        return fallback->Open(fx, w, h, error);
    }

    // The server has handled everything sent; the editor has read and handled what it caused.
    // Twice: what the editor did about the input (a grab, the focus) reaches the server too.
    void Settle() {
        for (int i = 0; i < 2; ++i) {
            window.Sync();
            Idle();
        }
    }

    void Idle() {
        if (opened) effect->Dispatch(effEditIdle);
    }

    bool MoveTo(int x, int y, std::string& error) {
        int sx = 0, sy = 0;
        if (!window.ToScreen(editor, x, y, sx, sy)) {
            error = "the editor window is gone";
            return false;
        }
        lastX = x;
        lastY = y;
        window.FakeMotion(sx, sy);
        Settle();
        return true;
    }

    bool Press(uint8_t button, int x, int y, std::string& error, bool single = true) {
        if (single && button == kLeftButton) {
            // Not the second half of a double click the script did not ask for.
            const Clock::time_point clear = lastLeftPress + kDoubleClickTime;
            if (std::abs(x - lastLeftX) <= kDoubleClickDistance &&
                std::abs(y - lastLeftY) <= kDoubleClickDistance)
                while (Clock::now() < clear) {
                    std::this_thread::sleep_for(
                        std::min<Clock::duration>(kIdleInterval, clear - Clock::now()));
                    Idle();
                }
        }
        if (!MoveTo(x, y, error)) return false;
        window.FakeButton(button, true);
        Settle();
        if (button == kLeftButton) {
            lastLeftPress = single ? Clock::now() : Clock::time_point{};
            lastLeftX = x;
            lastLeftY = y;
        }
        return true;
    }

    bool Release(uint8_t button) {
        window.FakeButton(button, false);
        Settle();
        return true;
    }

    bool Key(X11Keyboard::Key key, std::string& error) {
        if (key.keycode == 0) {
            error = "the X keyboard has no key for this step";
            return false;
        }
        const X11Keyboard::Key shift = keyboard.Shift();
        if (key.shift && shift.keycode) window.FakeKey(shift.keycode, true);
        window.FakeKey(key.keycode, true);
        window.FakeKey(key.keycode, false);
        if (key.shift && shift.keycode) window.FakeKey(shift.keycode, false);
        Settle();
        return true;
    }

    // Holds (down) or lets go of the step's modifier keys.
    bool Modifiers(const EditorModifiers& m, bool down, std::string& error) {
        const bool wanted[] = {m.shift, m.control, m.alt};
        const X11Keyboard::Key keys[] = {keyboard.Shift(), keyboard.Control(), keyboard.Alt()};
        for (int i = 0; i < 3; ++i) {
            if (!wanted[i]) continue;
            if (keys[i].keycode == 0) {
                error = "the X keyboard has no key for a modifier of this step";
                return false;
            }
            window.FakeKey(keys[i].keycode, down);
        }
        Settle();
        return true;
    }

    // The editor draws its own list (X has none to offer): the highlight goes to the first entry,
    // down to the chosen one, and Return takes it, as a user choosing with the keyboard does.
    bool Select(int entry, std::string& error) {
        const X11Keyboard::Key up = keyboard.ForVirtualKey(kUpKey), down = keyboard.ForVirtualKey(kDownKey);
        for (int i = 0; i < kListUpPresses; ++i)
            if (!Key(up, error)) return false;
        for (int i = 0; i < entry; ++i)
            if (!Key(down, error)) return false;
        return Key(keyboard.ForVirtualKey(kReturnKey), error);
    }

    X11HostWindow window;
    X11Keyboard keyboard;
    std::unique_ptr<EditorHost> fallback;
    HostedEffect* effect = nullptr;
    uint32_t editor = 0;
    bool opened = false;
    int width = 0, height = 0;
    int lastX = 0, lastY = 0;
    EditorModifiers held;
    Clock::time_point lastLeftPress;
    int lastLeftX = 0, lastLeftY = 0;
};

}  // namespace

std::unique_ptr<EditorHost> CreateEditorHost(bool offscreen) {
    if (offscreen) return CreateOffscreenEditorHost("--offscreen");
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return CreateOffscreenEditorHost("no X display: DISPLAY is not set");
    return std::make_unique<X11EditorHost>();
}
