#pragma once

#include <cstdint>

// What a format adapter drives of the plug-in's editor: open it inside the host's window, close
// it, and give it its periodic work. Every adapter reaches it through IPluginCore::Editor().
//
// The periodic work comes one of two ways; a host picks one for an open window and keeps to it:
// - Idle(): the host calls it often (every 10-50 ms, as VST 2's effEditIdle and LV2's idle
//   interface do). The editor reads its window's events and runs the timer ticks that are due by
//   the monotonic clock, so the frame rate does not depend on the host's rate.
// - OnTimer() and OnFdReady(): the host runs a timer of TimerMilliseconds() and watches
//   EventFd() for reading (CLAP's timer and posix-fd support, a VST 3 run loop). Each timer call
//   runs exactly one tick; the fd call only reads events.
// On Windows the window has its own timer and message loop: EventFd() is -1 and OnTimer(),
// OnFdReady() and Idle() have nothing to do.
//
// Threads: every call is [UI thread] — the host's thread for its windows, which plays the editor
// window's thread — and each says whether the adapter holds the plug-in's lock. The defaults are
// those of an editor that can never show a window.
class IEditorView {
  public:
    virtual ~IEditorView() = default;

    // [UI thread, with the lock held] Opens the editor window inside parent (an HWND on Windows,
    // an X11 Window id on Linux); on an open editor, in place of the old window. The window, or
    // null when none could be made.
    virtual void* OpenWindow(void* parent) {
        (void)parent;
        return nullptr;
    }
    // [UI thread, with the lock held] Destroys the window; a pending wheel gesture ends.
    virtual void CloseWindow() {}
    // [any thread, with the lock held] Editor size in pixels.
    virtual int Width() const { return 0; }
    virtual int Height() const { return 0; }

    // [UI thread, WITHOUT the lock] The host's idle call: reads the window's events and runs the
    // ticks that are due. Made without the lock, as a window's own messages and timer are:
    // everything it reaches takes the lock itself where it needs it.
    virtual void Idle() {}
    // [UI thread, with or without the lock] The file descriptor of the open window's connection
    // to the window system, for the host to watch for reading; -1 while no window is open, and on
    // a platform whose windows need no watching. It changes with every open.
    virtual int EventFd() const { return -1; }
    // [any thread] The period of the editor's timer in milliseconds (41 at 24 frames a second),
    // for a host timer; 0 for an editor without a timer.
    virtual int TimerMilliseconds() const { return 0; }
    // [UI thread, WITHOUT the lock] EventFd() is readable: reads and handles the window's events.
    virtual void OnFdReady() {}
    // [UI thread, WITHOUT the lock] The host's timer fired: handles any events already read, then
    // runs one tick (popup, repaint, end-edit countdown).
    virtual void OnTimer() {}

    // ---- Our hosts' extensions (the VST 2 adapter's vendor-specific calls) --------------------
    // [UI thread, with the lock held] A host's wheel notches: 1 when the pointer is over the
    // editor and they were dispatched, else 0.
    virtual int HostWheel(float notches) {
        (void)notches;
        return 0;
    }
    // [UI thread, with the lock held] A host without a native window for the editor drives it
    // offscreen (see abi/OffscreenEditor.h): request is the kind, data its record. 1 when handled.
    virtual intptr_t OffscreenRequest(int32_t request, void* data) {
        (void)request;
        (void)data;
        return 0;
    }
};
