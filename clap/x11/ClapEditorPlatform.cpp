#include <cstdint>

#include "clap/ClapAdapter.h"
#include "clap/ClapEditorDriver.h"

const char* ClapEditorDriver::PlatformApi() const {
    return CLAP_WINDOW_API_X11;
}

bool ClapEditorDriver::HostCanDrive() const {
    return adapter.HostExtension<clap_host_timer_support>(CLAP_EXT_TIMER_SUPPORT) &&
           adapter.HostExtension<clap_host_posix_fd_support>(CLAP_EXT_POSIX_FD_SUPPORT);
}

void* ClapEditorDriver::NativeParent(const clap_window& window) const {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(window.x11));
}

void ClapEditorDriver::StartDriving() {
    IEditorView* view = adapter.Core().Editor();
    auto* timers = adapter.HostExtension<clap_host_timer_support>(CLAP_EXT_TIMER_SUPPORT);
    auto* fds = adapter.HostExtension<clap_host_posix_fd_support>(CLAP_EXT_POSIX_FD_SUPPORT);
    if (!view || !timers || !fds) return;
    const clap_host* host = adapter.Host();
    if (!timers->register_timer(host, static_cast<uint32_t>(view->TimerMilliseconds()), &timer))
        timer = CLAP_INVALID_ID;
    // Reading only: a write watch on a connection that can always be written fires for ever.
    fd = view->EventFd();
    if (fd >= 0 && !fds->register_fd(host, fd, CLAP_POSIX_FD_READ)) fd = -1;
}

void ClapEditorDriver::StopDriving() {
    auto* timers = adapter.HostExtension<clap_host_timer_support>(CLAP_EXT_TIMER_SUPPORT);
    auto* fds = adapter.HostExtension<clap_host_posix_fd_support>(CLAP_EXT_POSIX_FD_SUPPORT);
    if (timer != CLAP_INVALID_ID && timers) timers->unregister_timer(adapter.Host(), timer);
    if (fd >= 0 && fds) fds->unregister_fd(adapter.Host(), fd);
    timer = CLAP_INVALID_ID;
    fd = -1;
}
