// `vsthost editor` on Windows: a real top-level host window, the plug-in's editor as its child,
// a message loop, and input as the window messages a user's mouse and keyboard cause.
#include "tools/vsthost/editor/EditorHost.h"
#include "tools/vsthost/editor/OffscreenEditorHost.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr const char* kHostClass = "VsthostEditorHost";
// Longest wait for one timer tick of the editor before giving up on it (a plug-in without a
// timer must not hang the host).
constexpr DWORD kTickTimeoutMs = 1000;
constexpr int kWheelDelta = 120;

LRESULT CALLBACK HostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class WindowsEditorHost : public EditorHost {
  public:
    ~WindowsEditorHost() override { Close(); }

    bool Open(HostedEffect& fx, int width, int height, std::string& error) override {
        effect = &fx;
        HINSTANCE module = GetModuleHandleA(nullptr);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostProcedure;
        wc.hInstance = module;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = kHostClass;
        RegisterClassA(&wc);
        // A framed window whose client area is the editor's size.
        DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        RECT frame = {0, 0, width, height};
        AdjustWindowRect(&frame, style, FALSE);
        host = CreateWindowExA(0, kHostClass, "vsthost editor", style, 40, 40, frame.right - frame.left,
                               frame.bottom - frame.top, nullptr, nullptr, module, nullptr);
        if (!host) {
            error = "cannot create the host window (is a display available?)";
            return false;
        }
        ShowWindow(host, SW_SHOW);
        UpdateWindow(host);
        Drain();
        if (fx.Dispatch(effEditOpen, 0, 0, host) == 0) {
            error = "the plug-in did not open its editor (effEditOpen answered 0)";
            return false;
        }
        opened = true;
        editor = GetWindow(host, GW_CHILD);
        if (!editor) {
            error = "the plug-in opened no editor window inside the host window";
            return false;
        }
        this->width = width;
        this->height = height;
        Drain();
        return true;
    }

    void Tick(int ticks) override {
        for (int i = 0; i < ticks && editor; ++i) WaitForTick();
    }

    // The message loop runs (timer, paint and anything else the editor posts) until the time is up.
    void Wait(int milliseconds) override {
        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max(milliseconds, 0));
        for (;;) {
            Drain();
            const ULONGLONG now = GetTickCount64();
            if (now >= end || !editor || !IsWindow(editor)) return;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        }
    }

    bool Capture(Screenshot& shot, std::string& error) override {
        if (!editor) {
            error = "the editor window is gone";
            return false;
        }
        Drain();
        HDC screen = GetDC(editor);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bool ok = screen && memory && section && bits;
        if (ok) {
            HGDIOBJ previous = SelectObject(memory, section);
            // PrintWindow gives a blank picture under Wine; the window's own DC holds what it shows.
            ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != 0;
            GdiFlush();
            if (ok) {
                const uint32_t* pixels = static_cast<const uint32_t*>(bits);
                shot.width = width;
                shot.height = height;
                shot.pixels.assign(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height));
            }
            SelectObject(memory, previous);
        }
        if (section) DeleteObject(section);
        if (memory) DeleteDC(memory);
        if (screen) ReleaseDC(editor, screen);
        if (!ok) error = "cannot read the editor window's pixels";
        return ok;
    }

    void Close() override {
        if (opened && effect) effect->Dispatch(effEditClose);
        opened = false;
        editor = nullptr;
        if (host) DestroyWindow(host);
        host = nullptr;
        Drain();
    }

    const char* Description() const override {
        return "child of a top-level host window, captured from the editor window's device context";
    }

  protected:
    // The modifier keys are held in the thread's keyboard state for the step, so that GetKeyState
    // agrees with the messages' key word.
    bool HoldModifiers(const EditorModifiers& m, std::string&) override {
        GetKeyboardState(savedKeys);
        BYTE state[256];
        std::copy(savedKeys, savedKeys + 256, state);
        state[VK_SHIFT] = m.shift ? 0x80 : 0;
        state[VK_CONTROL] = m.control ? 0x80 : 0;
        state[VK_MENU] = m.alt ? 0x80 : 0;
        SetKeyboardState(state);
        mk = (m.shift ? MK_SHIFT : 0) | (m.control ? MK_CONTROL : 0);
        return true;
    }
    void ReleaseModifiers() override { SetKeyboardState(savedKeys); }

    bool MovePointer(int x, int y, bool dragging, std::string&) override {
        Pointer(WM_MOUSEMOVE, mk | (dragging ? MK_LBUTTON : 0), x, y);
        return true;
    }
    bool PressButton(Button button, int x, int y, bool secondClick, std::string&) override {
        if (button == Button::Right)
            Pointer(WM_RBUTTONDOWN, mk | MK_RBUTTON, x, y);
        else
            Pointer(secondClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, mk | MK_LBUTTON, x, y);
        return true;
    }
    bool ReleaseButton(Button button, int x, int y, std::string&) override {
        Pointer(button == Button::Right ? WM_RBUTTONUP : WM_LBUTTONUP, mk, x, y);
        return true;
    }
    bool TurnWheel(int x, int y, int notches, std::string&) override {
        // The wheel's position word is on the screen.
        POINT screen = Place(x, y);
        WPARAM w = MAKEWPARAM(mk, static_cast<WORD>(static_cast<short>(notches * kWheelDelta)));
        Deliver(editor, WM_MOUSEWHEEL, w, MAKELPARAM(screen.x, screen.y));
        return true;
    }
    bool TypeCharacter(char c, std::string&) override {
        // WM_CHAR carries the byte, not a sign-extended char.
        const unsigned char byte = static_cast<unsigned char>(c);
        SHORT scan = VkKeyScanA(c);
        WPARAM vk = scan == -1 ? 0 : LOBYTE(scan);
        HWND target = KeyTarget();
        if (vk) Deliver(target, WM_KEYDOWN, vk, 1);
        Deliver(KeyTarget(), WM_CHAR, byte, 1);
        if (vk) Deliver(KeyTarget(), WM_KEYUP, vk, 1);
        return true;
    }
    bool PressEnter(std::string&) override {
        Key(VK_RETURN, '\r');
        return true;
    }
    bool PressKey(int virtualKey, std::string&) override {
        Place(lastX, lastY);
        Key(static_cast<WPARAM>(virtualKey), 0);
        return true;
    }
    bool SelectEntry(int entry, std::string& error) override { return Select(entry, error); }

  private:
    // The pointer goes to editor point (x, y); answers the screen point.
    POINT Place(int x, int y) {
        lastX = x;
        lastY = y;
        POINT screen = {x, y};
        ClientToScreen(editor, &screen);
        SetCursorPos(screen.x, screen.y);
        return screen;
    }

    void Pointer(UINT message, WPARAM keys, int x, int y) {
        Place(x, y);
        // Mouse messages go to the window that has the capture, else to the one under the pointer.
        HWND target = GetCapture();
        POINT point = {x, y};
        if (!target || (target != editor && !IsChild(editor, target))) {
            HWND child = ChildWindowFromPointEx(editor, point, CWP_SKIPINVISIBLE);
            target = child ? child : editor;
        }
        if (target != editor) MapWindowPoints(editor, target, &point, 1);
        Deliver(target, message, keys, MAKELPARAM(point.x, point.y));
    }

    // Keys go to the focused window when it is the editor or inside it; otherwise to the editor,
    // as a host forwarding its keyboard input would.
    HWND KeyTarget() const {
        HWND focus = GetFocus();
        return focus && (focus == editor || IsChild(editor, focus)) ? focus : editor;
    }

    void Key(WPARAM vk, char character) {
        HWND target = KeyTarget();
        Deliver(target, WM_KEYDOWN, vk, 1);
        if (character) Deliver(KeyTarget(), WM_CHAR, static_cast<WPARAM>(character), 1);
        Deliver(KeyTarget(), WM_KEYUP, vk, 1);
    }

    // Queued like real input, then handled before the next step.
    void Deliver(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
        if (!target) return;
        PostMessageA(target, message, wParam, lParam);
        Drain();
    }

    // Chooses entry `entry` of the open drop-down list the way a user does: opens the list, points
    // at the entry and clicks it.
    bool Select(int entry, std::string& error) {
        HWND combo = FindWindowExA(editor, nullptr, "COMBOBOX", nullptr);
        if (!combo) {
            error = "select: no drop-down list is open";
            return false;
        }
        LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
        if (entry >= count) {
            error = "select: the list has " + std::to_string(count) + " entries";
            return false;
        }
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        Drain();
        if (!GetComboBoxInfo(combo, &info) || !info.hwndList) {
            error = "select: the drop-down list did not open";
            return false;
        }
        RECT item;
        SendMessageA(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(entry),
                     reinterpret_cast<LPARAM>(&item));
        POINT centre = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        LPARAM at = MAKELPARAM(centre.x, centre.y);
        // The open list also follows the real pointer: it goes where the click goes.
        ClientToScreen(info.hwndList, &centre);
        SetCursorPos(centre.x, centre.y);
        Drain();
        Deliver(info.hwndList, WM_MOUSEMOVE, 0, at);
        Deliver(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
        Deliver(info.hwndList, WM_LBUTTONUP, 0, at);
        return true;
    }

    // Handles every message waiting, without waiting for more. Not translated: the steps deliver
    // the characters of their keys themselves.
    void Drain() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }

    // Runs the message loop until the editor window has handled one more timer message.
    void WaitForTick() {
        DWORD start = GetTickCount();
        for (;;) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&msg);
                if (msg.message == WM_TIMER && msg.hwnd == editor) return;
            }
            DWORD waited = GetTickCount() - start;
            if (waited >= kTickTimeoutMs || !IsWindow(editor)) return;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, kTickTimeoutMs - waited, QS_ALLINPUT);
        }
    }

    HostedEffect* effect = nullptr;
    HWND host = nullptr;
    HWND editor = nullptr;
    bool opened = false;
    int width = 0, height = 0;
    int lastX = 0, lastY = 0;
    BYTE savedKeys[256] = {};
    WPARAM mk = 0;  // the held modifiers as the mouse messages' key word
};

}  // namespace

std::unique_ptr<EditorHost> CreateEditorHost(bool offscreen) {
    if (offscreen) return CreateOffscreenEditorHost("--offscreen");
    return std::make_unique<WindowsEditorHost>();
}
