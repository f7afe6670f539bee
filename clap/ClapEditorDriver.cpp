#include "clap/ClapEditorDriver.h"

#include <cstring>
#include <mutex>

#include "clap/ClapAdapter.h"

bool ClapEditorDriver::IsApiSupported(const char* api, bool floating) const {
    return !floating && api && std::strcmp(api, PlatformApi()) == 0 && adapter.Core().Editor() &&
           HostCanDrive();
}

const char* ClapEditorDriver::PreferredApi() const {
    return PlatformApi();
}

bool ClapEditorDriver::Create(const char* api, bool floating) {
    if (created || !IsApiSupported(api, floating)) return false;
    created = true;
    return true;
}

void ClapEditorDriver::Destroy() {
    if (open) {
        StopDriving();
        std::lock_guard<std::recursive_mutex> guard(adapter.Core().Lock());
        if (IEditorView* view = adapter.Core().Editor()) view->CloseWindow();
    }
    open = false;
    created = false;
}

bool ClapEditorDriver::Size(uint32_t& width, uint32_t& height) const {
    IEditorView* view = adapter.Core().Editor();
    if (!created || !view) return false;
    std::lock_guard<std::recursive_mutex> guard(adapter.Core().Lock());
    width = static_cast<uint32_t>(view->Width());
    height = static_cast<uint32_t>(view->Height());
    return true;
}

bool ClapEditorDriver::SetParent(const clap_window* window) {
    IEditorView* view = adapter.Core().Editor();
    if (!created || open || !view || !window || !window->api || std::strcmp(window->api, PlatformApi()) != 0)
        return false;
    {
        std::lock_guard<std::recursive_mutex> guard(adapter.Core().Lock());
        open = view->OpenWindow(NativeParent(*window)) != nullptr;
    }
    if (open) StartDriving();
    return open;
}

// The window is visible from set_parent on (some hosts never call show); show and hide keep it
// so: the editor has no separate visibility of its own.
bool ClapEditorDriver::Show() {
    return open;
}

bool ClapEditorDriver::Hide() {
    return open;
}

void ClapEditorDriver::OnTimer(clap_id id) {
    IEditorView* view = adapter.Core().Editor();
    if (open && id == timer && view) view->OnTimer();
}

void ClapEditorDriver::OnFd(int ready, uint32_t) {
    IEditorView* view = adapter.Core().Editor();
    if (open && ready == fd && view) view->OnFdReady();
}
