#pragma once

#include "plugbase/IEditorView.h"

// What the plug-in core calls on its attached editor, beside what the format adapters drive of it
// (IEditorView). The core owns the editor through this interface and deletes it on destruction;
// the editor graphics context implements it. All calls are made with the plug-in's lock held;
// each says from which thread.
class IEditorLink : public IEditorView {
  public:
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
};
