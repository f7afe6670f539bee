#pragma once

#include <cstdint>
#include <memory>

#include "base/x11/XcbLibrary.h"

// One editor window's own connection to the X server (never the host's): opened when the window
// opens, closed when it closes, so the last editor to close leaves no socket behind. Each editor
// has its own: its events arrive only on its connection, so editors of several plug-in instances
// never read each other's events, whichever threads their hosts open them on. Every X error comes
// back on this connection as an event and is dropped there; no process-wide X state is touched.
//
// Threads: the thread that opened it (the editor's UI thread), only.
class X11Connection {
  public:
    // Connects to the display named by DISPLAY; null when libxcb is missing, DISPLAY is unset or
    // the server cannot be reached.
    static std::unique_ptr<X11Connection> Open();
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    const XcbLibrary& x;
    xcb_connection_t* const connection;
    xcb_screen_t* const screen;
    // MIT-SHM may be used: the server offers it and the connection is local.
    const bool shmUsable;
    // True once the connection broke (server gone): nothing more will arrive.
    bool Broken() const { return x.connection_has_error(connection) != 0; }
    // A round trip: every request sent before has been handled (and any error queued).
    void Sync();

  private:
    X11Connection(const XcbLibrary& x, xcb_connection_t* connection, xcb_screen_t* screen, bool shmUsable);
};
