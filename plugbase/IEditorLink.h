#pragma once

#include <cstdint>

// What the plug-in core calls on its attached editor. The core owns the editor through this
// interface and deletes it on destruction; the editor graphics context implements it.
// All calls are made with the plug-in's lock held; each says from which thread.
class IEditorLink {
  public:
    virtual ~IEditorLink() = default;

    // [any thread, with the lock held] Shows a parameter's value in the controls bound to it,
    // normalised (0..1) or plain.
    virtual void ShowParameterValue(int index, double value, bool isNormalized) = 0;
    // [any thread, with the lock held] Called once when the editor is attached, after every value
    // has been shown.
    virtual void PrepareDrawing() = 0;
    // [UI thread, with the lock held] Starts (or restarts) the delayed end-of-edit countdown of
    // the given number of timer ticks; when it reaches zero the editor calls
    // IPluginCore::FlushPendingEndEdit.
    virtual void StartEndEditCountdown(int ticks) = 0;
    // [any thread, with the lock held]
    virtual void CancelEndEditCountdown() = 0;
    // [any thread, with the lock held] Timer ticks per second.
    virtual int FrameRate() const = 0;

    // What the host adapter needs of the editor, [UI thread, with the lock held]: the host's
    // dispatcher calls for its editor. The defaults are those of an editor that can never show a
    // window.
    // Opens the editor window inside the host's parent window; the window, or null.
    virtual void* OpenWindow(void* parent) {
        (void)parent;
        return nullptr;
    }
    virtual void CloseWindow() {}
    // [UI thread, WITHOUT the lock] The host's idle call (effEditIdle), which hosts without a
    // window timer for us make every 10-50 ms: an editor window that reads its own events and
    // runs its own timer does both here. Made without the lock, as a window's own messages and
    // timer are: everything it reaches takes the lock itself where it needs it.
    virtual void Idle() {}
    // The host's vendor-specific wheel call: 1 when the pointer is over the editor and the notches
    // were dispatched, else 0.
    virtual int HostWheel(float notches) {
        (void)notches;
        return 0;
    }
    // A host without a native window for the editor drives it offscreen (see
    // abi/OffscreenEditor.h): request is the kind, data its record. 1 when handled.
    virtual intptr_t OffscreenRequest(int32_t request, void* data) {
        (void)request;
        (void)data;
        return 0;
    }
    // [any thread, with the lock held] Editor size in pixels.
    virtual int Width() const { return 0; }
    virtual int Height() const { return 0; }
};
