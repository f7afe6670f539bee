#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/x11/X11Keyboard.h"
#include "base/x11/XcbLibrary.h"
#include "editor/posix/IOffscreenEditor.h"
#include "editor/x11/DoubleClickDetector.h"
#include "editor/x11/TickClock.h"

class DrawnPopup;
class X11Connection;
class X11Presenter;

// The Linux editor: an X11 child window inside the host's window when the host gives one
// (effEditOpen's pointer is the parent's Window id) and a display can be reached, else the
// window-less offscreen editor it derives from (no libxcb, no DISPLAY, a host that drives it
// offscreen). The choice is made at each open.
//
// The window has its own XCB connection (X11Connection), created at open and closed at close; X
// errors on it are read and dropped there. Events are read without blocking at open and on the
// host's idle call or, for a host that watches the connection's fd, when it is readable. Ticks
// come from the host's timer (OnTimer) or, driven by idle calls, from the monotonic clock at the
// frame rate, at most three per idle (TickClock). Value popups are drawn into the back buffer (DrawnPopup)
// and take the keyboard focus while open. Left presses within 400 ms and 4 pixels make a double click
// (DoubleClickDetector).
//
// Threads: every entry is [UI thread] — the thread that opens, drives and closes the editor, which
// plays the window's thread — except what IEditorGraphics says host threads may call. Idle,
// OnFdReady and OnTimer run without the plug-in's lock; the others with it, as IEditorView says.
class IEditorWindow : public IOffscreenEditor {
  public:
    using IOffscreenEditor::IOffscreenEditor;
    ~IEditorWindow() override;

    // Creates the child window at the editor's size inside parent (a Window id), or in place of
    // an open one at its place; maps it, presents the whole editor and reads the first events.
    // Null, and the editor stays window-less, when there is no display or parent.
    void* OpenWindow(void* parent) override;
    // Destroys the window (if the host has not already, with its parent) and closes the
    // connection; a pending wheel gesture ends.
    void CloseWindow() override;
    void* NativeWindow() override;
    // Reads the window's events, then runs the ticks that are due by the monotonic clock.
    void Idle() override;
    // The window's connection, while there is one.
    int EventFd() const override;
    void OnFdReady() override;
    // Handles the events the connection holds (libxcb may have read them while waiting for a
    // reply, which leaves the fd quiet), then one tick.
    void OnTimer() override;

    bool PresentArea(const IPixelRect& rect) override;
    void SetSize(int width, int height) override;
    // The drawn popup in the window; the offscreen popup without one.
    void ShowValuePrompt(IControl* control, IParameter* parameter) override;
    bool OpenWebAddress(const char* address, const char* title, const char* confirmText,
                        const char* failureText) override;
    // Wheel notches from the host, when the pointer is over the window: 1, else 0.
    int HostWheel(float notches) override;
    // The offscreen requests, answered only while there is no window.
    intptr_t OffscreenRequest(int32_t request, void* data) override;

    // The window's id, 0 while there is none (for tests).
    uint32_t Window() const { return window; }
    // The drawn popup, null while none is open (for tests).
    const DrawnPopup* Popup() const { return popup.get(); }
    // Whether presents go through shared memory (for tests and benchmarks).
    bool PresentsWithShm() const;

  private:
    void DestroyPopup() override;

    void ReadEvents();
    void HandleEvent(const xcb_generic_event_t& event);
    void ButtonPress(const xcb_button_press_event_t& event);
    void ButtonRelease(const xcb_button_press_event_t& event);
    void KeyPress(const xcb_key_press_event_t& event);
    // Keyboard focus: taken while a popup is open (and given back to whoever had it), and on
    // open and on clicks for the host that wants it.
    void TakeFocus(bool rememberPrevious);
    void GiveBackFocus();
    // Redraws the open popup into the back buffer and shows it.
    void ShowPopup();
    // Drops everything of the window once it is gone, from outside or from CloseWindow.
    void ForgetWindow();
    void Flush();

    std::unique_ptr<X11Connection> connection;
    X11Keyboard keyboard;
    std::unique_ptr<X11Presenter> presenter;
    std::unique_ptr<DrawnPopup> popup;
    uint32_t window = 0;
    uint32_t previousFocus = 0;
    bool windowAlive = false;
    TickClock clock{kDefaultFrameRate};
    DoubleClickDetector doubleClick;
};
