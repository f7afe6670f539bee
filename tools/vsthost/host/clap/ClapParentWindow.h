// A real top-level window of the platform (an X11 window on its own XCB connection, or a Win32
// window) for an embedded plug-in editor to become a child of, and the clap_window naming it.
// Counts the children the plug-in put into it, so a test can see the editor arrive and leave,
// and plays a user's drag on them.
#pragma once

#include <string>

#include "abi/ClapExtensions.h"

class ClapParentWindow {
  public:
    ClapParentWindow() = default;
    ~ClapParentWindow();
    ClapParentWindow(const ClapParentWindow&) = delete;
    ClapParentWindow& operator=(const ClapParentWindow&) = delete;

    // Opens a width x height window; false with a reason (no display, say). [main thread]
    bool Open(int width, int height, std::string& error);
    const clap_window& Window() const { return window; }
    // The number of child windows it has now. [main thread]
    int ChildCount() const;
    // A left-button drag as a user makes it on the child window: press at (x, y) in the window,
    // move up by dy pixels in steps, release. False when the platform cannot synthesise input.
    // The child sees the events when the host's loop next runs. [main thread]
    bool Drag(int x, int y, int dy) const;

  private:
    void Close();

    clap_window window{};
    void* platform = nullptr;  // the platform's connection or module data
};
