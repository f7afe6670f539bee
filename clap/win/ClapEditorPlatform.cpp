#include "clap/ClapAdapter.h"
#include "clap/ClapEditorDriver.h"

// The editor window runs its own Win32 timer, whose messages the host's loop dispatches on the
// main thread: nothing for the host to drive.
const char* ClapEditorDriver::PlatformApi() const {
    return CLAP_WINDOW_API_WIN32;
}

bool ClapEditorDriver::HostCanDrive() const {
    return true;
}

void* ClapEditorDriver::NativeParent(const clap_window& window) const {
    return window.win32;
}

void ClapEditorDriver::StartDriving() {}

void ClapEditorDriver::StopDriving() {}
