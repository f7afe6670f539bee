#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "editor/EditorInput.h"
#include "editor/IEditorGraphics.h"
#include "editor/RelaxedAtomic.h"

// What every platform's editor window does the same way, between the graphics context and the
// platform: the module instance and the images it holds, the input rules (EditorInput), the value
// popup's fields and its state machine, the end-edit countdown and the timer tick that drives
// them. A platform window (editor/<platform>/IEditorWindow) derives from it and adds only the
// platform: creating and destroying the window, presenting, translating input into `input`'s
// calls, and the popup behind the fields.
//
// Threads: UI thread (the thread that plays the window's thread), like every operation of a
// platform window, except the countdown's two calls, which the plug-in makes from any thread.
class IEditorWindowCore : public IEditorGraphics {
  public:
    // Only Commit and Cancel act, on the next tick; Focused falls back to Idle there.
    enum ValuePromptState : int32_t { Idle = 0, Focused = 1, Cancel = 2, Commit = 3 };
    // Characters a popup's text is read with, the terminating zero included.
    static constexpr int kPopupTextChars = 1000;

    // frameRate <= 0 means 24; instance is the module token the images are loaded from.
    IEditorWindowCore(IPluginCore* plug, int width, int height, int frameRate, void* instance);

    // Closes a popup without applying it (its control is about to be deleted), then the base
    // steps, then the back buffer follows the new size. The window resizes itself after this.
    void SetSize(int width, int height) override;
    // [any thread, with the lock held] A begin-edit on a host thread ends a pending wheel
    // gesture, and with it the countdown the UI thread runs.
    void StartEndEditCountdown(int ticks) override { endEditTicks = ticks; }
    void CancelEndEditCountdown() override { endEditTicks = 0; }
    // The PNG resource id of the module instance; name is not used.
    std::unique_ptr<RasterBitmap> LoadImageResource(int id, const char* name) override;

    // One timer tick: applies or drops a finished popup, repaints the dirty controls, then counts
    // the end-edit countdown down and flushes the pending end-edit when it reaches zero.
    void Tick();

    // The pointer capture EditorInput takes from a press to its release. By default a flag; a
    // window system with a capture of its own takes that too.
    virtual void CapturePointer(bool on) { captured = on; }
    // Whether a press's capture still holds: only then does motion drag its control.
    virtual bool PointerCaptured() { return captured; }

    void* const instance;
    // The value popup: open while popupControl is set.
    IControl* popupControl = nullptr;
    IParameter* popupParameter = nullptr;
    ValuePromptState popupState = Idle;
    // Counted down by the tick without the lock: a count it overwrites after a cancel at most
    // flushes a gesture that is no longer pending, which does nothing.
    RelaxedAtomic<int32_t> endEditTicks{0};

    // What the platform's input is translated into.
    EditorInput input{*this};

  protected:
    bool captured = false;

    // Takes the native popup away and clears the fields; with notify its control hears that it
    // went away (last, so that the control sees no popup left). Nothing while none is open.
    void ClosePopup(bool notify);
    // Clears the popup fields without touching a native popup or the control (the window, and
    // the popup with it, is already gone).
    void ForgetPopup();
    // Ends a wheel gesture whose countdown is still running, at once.
    void FlushEndEdit();

    // ---- The platform's part of the tick and the popup ---------------------------------------
    // The text the open popup holds, at most kPopupTextChars - 1 characters.
    virtual std::string PopupText() = 0;
    // Destroys the native popup, if any; the fields are cleared by the caller.
    virtual void DestroyPopup() = 0;
    // Repaints the dirty area and presents it; false when the window went away meanwhile
    // (closing a popup calls into the plug-in and the host), which ends the tick. By default
    // PaintArea does both at once, as a window without a paint message of its own needs.
    virtual bool RepaintDirty();
};
