// A host's window to embed a plug-in view in: a mapped top-level window on the test run's display
// (X11 natively, Win32 under Wine). The platform folder supplies it.
#pragma once

#include <memory>

class ParentWindow {
  public:
    ParentWindow();
    ~ParentWindow();
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    // False when there is no display to open a window on.
    bool Ok() const;
    // The handle a view's attached takes: the HWND, or the X11 window id as the pointer's value.
    void* Handle() const;
    // The window's child windows now.
    int ChildCount();

  private:
    struct Native;
    std::unique_ptr<Native> native;
};
