#include "tools/vsthost/host/clap/ClapParentWindow.h"

#include <windows.h>

namespace {

constexpr char kClass[] = "VesmarClapParent";

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

}  // namespace

ClapParentWindow::~ClapParentWindow() {
    Close();
}

bool ClapParentWindow::Open(int width, int height, std::string& error) {
    Close();
    HINSTANCE module = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = module;
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT frame = {0, 0, width, height};
    AdjustWindowRect(&frame, style, FALSE);
    HWND hwnd = CreateWindowExA(0, kClass, "CLAP host", style, 40, 40, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, module, nullptr);
    if (!hwnd) {
        error = "cannot create the host window";
        return false;
    }
    ShowWindow(hwnd, SW_SHOW);
    window.api = CLAP_WINDOW_API_WIN32;
    window.win32 = hwnd;
    platform = hwnd;
    return true;
}

int ClapParentWindow::ChildCount() const {
    int count = 0;
    if (platform) EnumChildWindows(static_cast<HWND>(platform), CountChild, reinterpret_cast<LPARAM>(&count));
    return count;
}

void ClapParentWindow::Close() {
    if (platform) DestroyWindow(static_cast<HWND>(platform));
    platform = nullptr;
    window = {};
}

bool ClapParentWindow::Drag(int x, int y, int dy) const {
    HWND child = platform ? GetWindow(static_cast<HWND>(platform), GW_CHILD) : nullptr;
    if (!child) return false;
    // Sent to the window as Windows would deliver them: the window captures the mouse itself.
    SendMessageA(child, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    for (int step = 1; step <= 4; ++step)
        SendMessageA(child, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y - dy * step / 4));
    SendMessageA(child, WM_LBUTTONUP, 0, MAKELPARAM(x, y - dy));
    return true;
}
