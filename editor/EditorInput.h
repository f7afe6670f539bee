#pragma once

#include <cstdint>

#include "editor/IMouseKeys.h"
#include "editor/ValuePopupModel.h"

class IEditorWindowCore;

// The editor's input rules, written once for every editor window (Windows, X11, offscreen): what
// a press, release, motion, wheel, key and the pointer leaving do to the controls and the value
// popup. A platform window only translates its input into these calls — editor pixels,
// IMouseKeys, Windows virtual-key codes, ValuePopupModel keys — and lends its pointer capture
// (IEditorWindowCore::CapturePointer).
// - A right press while a popup is open cancels the popup and does nothing else; a left press
//   commits it and reaches the control beneath as well (the popup is applied on the next tick).
// - A press captures the pointer until its release; motion with a button held drags the captured
//   control only, motion without one is a hover.
// - A double click goes to the control beneath, which may take it as a press (and the capture).
// - The wheel's notches go to the control beneath (the graphics context brackets them in one
//   host gesture).
// - Keys go through the editor's key table to the control under the pointer; while a popup the
//   editor keeps itself is open, they edit that popup instead.
//
// Threads: the editor's UI thread, as every input of a window.
class EditorInput {
  public:
    enum class Button { Left, Right };

    explicit EditorInput(IEditorWindowCore& editor) : editor(editor) {}

    void Press(Button button, int x, int y, IMouseKeys keys);
    // The second left press of a double click.
    void DoubleClick(int x, int y, IMouseKeys keys);
    // keys: the buttons still held after the release.
    void Release(int x, int y, const IMouseKeys& keys);
    // True: the pointer hovers over the editor, and the window should ask to hear when it leaves.
    bool Motion(int x, int y, const IMouseKeys& keys);
    void Wheel(int x, int y, const IMouseKeys& keys, int notches);
    void Leave();
    // A key pressed with the pointer at (x, y), as a Windows virtual-key code; keys the table
    // does not know do nothing.
    void Key(int x, int y, uintptr_t virtualKey);

    // A key or a typed character for the open popup's model: a commit is applied on the next
    // tick. Changed: the window shows the popup again.
    ValuePopupModel::Result PopupKey(ValuePopupModel& popup, ValuePopupModel::Key key, char typed);
    // An entry of the open list chosen (a click on it): true when there is such an entry.
    bool PopupChoose(ValuePopupModel& popup, int index);

    // The host that wants the editor to take the keyboard focus itself, when its window opens
    // and on every click (its name contains "acoustica").
    bool HostWantsFocus() const;

  private:
    // Sets the popup's state from what the model did.
    ValuePopupModel::Result Apply(ValuePopupModel::Result result);

    IEditorWindowCore& editor;
};
