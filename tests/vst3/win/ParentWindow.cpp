#include "tests/vst3/ParentWindow.h"

#include <windows.h>

struct ParentWindow::Native {
    HWND window = nullptr;
};

namespace {

constexpr const char* kClass = "Vst3TestParent";

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

}  // namespace

ParentWindow::ParentWindow() : native(std::make_unique<Native>()) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    native->window = CreateWindowExA(0, kClass, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 520, 320,
                                     nullptr, nullptr, wc.hInstance, nullptr);
}

ParentWindow::~ParentWindow() {
    if (native->window) DestroyWindow(native->window);
}

bool ParentWindow::Ok() const {
    return native->window != nullptr;
}

void* ParentWindow::Handle() const {
    return native->window;
}

int ParentWindow::ChildCount() {
    int count = 0;
    EnumChildWindows(native->window, CountChild, reinterpret_cast<LPARAM>(&count));
    return count;
}
