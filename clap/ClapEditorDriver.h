// The gui extension of one instance: an embedded editor of fixed size inside the host's window.
// On Linux the host's main loop drives it: a host timer at the editor's frame rate and a watch
// on its X connection's fd, both registered when the window opens (from set_parent, on the main
// thread, never from init) and removed when it closes; without both host tables the x11 API is
// refused. On Windows the editor window runs its own timer in the host's message loop.
// [main thread], every function.
#pragma once

#include "abi/ClapExtensions.h"

class ClapAdapter;

class ClapEditorDriver {
  public:
    explicit ClapEditorDriver(ClapAdapter& owner) : adapter(owner) {}

    bool IsApiSupported(const char* api, bool floating) const;
    const char* PreferredApi() const;
    bool Create(const char* api, bool floating);
    void Destroy();
    bool Size(uint32_t& width, uint32_t& height) const;
    bool SetParent(const clap_window* window);
    bool Show();
    bool Hide();
    void OnTimer(clap_id id);
    void OnFd(int fd, uint32_t flags);

  private:
    // The platform half (x11/ or win/): the API name, whether the host can drive it, and the
    // registrations of the open window.
    const char* PlatformApi() const;
    bool HostCanDrive() const;
    void* NativeParent(const clap_window& window) const;
    void StartDriving();
    void StopDriving();

    ClapAdapter& adapter;
    bool created = false;
    bool open = false;
    clap_id timer = CLAP_INVALID_ID;
    int fd = -1;
};
