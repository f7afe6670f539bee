#include "editor/EditorInput.h"

#include "editor/EditorKeys.h"
#include "editor/IEditorWindowCore.h"
#include "plugbase/HostId.h"
#include "plugbase/IPluginCore.h"

void EditorInput::Press(Button button, int x, int y, IMouseKeys keys) {
    if (editor.popupControl) {
        if (button == Button::Right) {
            editor.popupState = IEditorWindowCore::Cancel;
            return;
        }
        editor.popupState = IEditorWindowCore::Commit;
    }
    (button == Button::Right ? keys.right : keys.left) = true;
    // Captured before the control hears of the press: a control that opens a dialog there must
    // not leave the capture taken after the dialog has had the release.
    editor.CapturePointer(true);
    editor.HandleMouseDown(x, y, keys);
}

void EditorInput::DoubleClick(int x, int y, IMouseKeys keys) {
    keys.left = true;
    if (editor.HandleDoubleClick(x, y, keys)) editor.CapturePointer(true);
}

void EditorInput::Release(int x, int y, const IMouseKeys& keys) {
    editor.CapturePointer(false);
    editor.HandleMouseUp(x, y, keys);
}

bool EditorInput::Motion(int x, int y, const IMouseKeys& keys) {
    if (keys.left || keys.right) {
        if (editor.PointerCaptured()) editor.HandleMouseDrag(x, y, keys);
        return false;
    }
    return editor.HandleMouseOver(x, y, keys);
}

void EditorInput::Wheel(int x, int y, const IMouseKeys& keys, int notches) {
    editor.HandleMouseWheel(x, y, keys, notches);
}

void EditorInput::Leave() {
    editor.HandleMouseOut();
}

void EditorInput::Key(int x, int y, uintptr_t virtualKey) {
    const int code = EditorKeyFromVirtualKey(virtualKey);
    if (code >= 0) editor.HandleKeyDown(x, y, code);
}

ValuePopupModel::Result EditorInput::PopupKey(ValuePopupModel& popup, ValuePopupModel::Key key, char typed) {
    return Apply(popup.Press(key, typed));
}

bool EditorInput::PopupChoose(ValuePopupModel& popup, int index) {
    return Apply(popup.Choose(index)) == ValuePopupModel::Result::Commit;
}

ValuePopupModel::Result EditorInput::Apply(ValuePopupModel::Result result) {
    if (result == ValuePopupModel::Result::Commit) editor.popupState = IEditorWindowCore::Commit;
    if (result == ValuePopupModel::Result::Changed) editor.popupState = IEditorWindowCore::Focused;
    return result;
}

bool EditorInput::HostWantsFocus() const {
    return editor.plug && editor.plug->HostKind() == HostId::Acoustica;
}
