#pragma once

#include <cstdint>

#include "editor/IBlend.h"
#include "editor/IImageStrip.h"
#include "editor/IMouseKeys.h"
#include "editor/IPixelRect.h"
#include "editor/RelaxedAtomic.h"
#include "editor/RepaintState.h"

class IEditorGraphics;
class IPluginCore;

// One element of the editor: a rectangle that paints itself into the editor's back buffer,
// answers the mouse events the editor routes to it, and may be bound to one plug-in parameter.
// The value is normalised (0..1); the parameter converts.
//
// Threads: UI thread, except the two functions tagged otherwise, which the plug-in also calls
// from host threads with its lock held. The fields those two touch (value, defaultValue, dirty,
// redraw) are lock-free atomics; nothing here takes a lock, but a push to the parameter
// (MarkDirty(true)) takes the plug-in's.
//
// Ownership: the editor graphics context owns its controls; images and the tooltip text are not
// owned.
class IControl {
  public:
    IControl(IPluginCore* plug, IPixelRect rect, int paramIndex = -1, int32_t blendMethod = BlendNormal);
    virtual ~IControl() = default;
    IControl(const IControl&) = delete;
    IControl& operator=(const IControl&) = delete;

    // Right button: PromptForValue.
    virtual void MouseDown(int x, int y, const IMouseKeys& keys);
    virtual void MouseUp(int x, int y, const IMouseKeys& keys);
    virtual void MouseDrag(int x, int y, int dX, int dY, const IMouseKeys& keys);
    // Restores defaultValue (when there is one) and pushes it.
    virtual void MouseDoubleClick(int x, int y, const IMouseKeys& keys);
    // value += notches * 0.01 (0.001 with control or shift held), pushed.
    virtual void MouseWheel(int x, int y, const IMouseKeys& keys, int notches);
    // key: 0 space, 1-4 up/down/left/right, 5-14 digits, 15-40 letters A-Z.
    virtual void KeyDown(int x, int y, int key);
    virtual void MouseOver(int x, int y, const IMouseKeys& keys);
    virtual void MouseOut();
    virtual bool Paint(IEditorGraphics& graphics) = 0;
    // [any thread, with the lock held] The plug-in shows a parameter value. The first value ever
    // received becomes defaultValue.
    virtual void SetValueFromParameter(double v);
    // [UI thread; any thread with the lock held] The user typed or chose a value (a committed
    // popup, UI thread), or the effect moves the control as if by hand (under its lock): pushed.
    virtual void SetValueFromUser(double v);
    virtual void SetHidden(bool flag);
    virtual void SetGreyed(bool flag);
    virtual bool Contains(int x, int y);
    // Clamps value to clampLow..clampHigh (NaN becomes clampLow), sets dirty and, with push and a
    // bound parameter, sends the value to the plug-in (ApplyParameterFromEditor).
    virtual void MarkDirty(bool push);
    // dirty = redraw; redraw = false.
    virtual void MarkClean();
    virtual bool NeedsRepaint();

    // Asks the editor for a value popup, unless unbound or promptDisabled.
    void PromptForValue();
    // The popup went away (committed or cancelled): the value is pushed again.
    void PromptClosed();

    // The plug-in's editor, or null when it has none (or it is not an editor graphics context).
    IEditorGraphics* Editor() const;

    IPluginCore* plug;
    IPixelRect rect;
    IPixelRect targetRect;
    IImageStrip image;
    int32_t paramIndex;
    RelaxedAtomic<double> value{0.0};
    RelaxedAtomic<double> defaultValue{-1.0};
    double clampLow = 0.0;
    double clampHigh = 1.0;

  private:
    RepaintState repaint_{RepaintState::kDirty};

  public:
    RepaintFlag dirty{repaint_, RepaintState::kDirty};
    bool hidden = false;
    bool greyed = false;
    RepaintFlag redraw{repaint_, RepaintState::kRedraw};
    bool promptDisabled = false;
    bool doubleClickAsPress = false;
    IBlend blend;
    const char* tooltip = nullptr;

  protected:
    // Sets redraw, then marks dirty: the order that lets a concurrent paint never lose the change.
    void MarkDirtyForRedraw(bool push);
};
