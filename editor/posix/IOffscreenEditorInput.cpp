// Driving the window-less editor from a host: input records translated into the editor's input
// rules, as the Windows window translates its messages.
#include "abi/OffscreenEditor.h"
#include "editor/posix/IOffscreenEditor.h"
#include "plugbase/IParameter.h"
#include "raster/DibBitmap.h"

namespace {

constexpr char kBackspace = 0x08;

IMouseKeys KeysOf(const OffscreenEditorInput& input) {
    IMouseKeys keys;
    keys.left = (input.buttons & OffscreenEditorInput::kLeft) != 0;
    keys.right = (input.buttons & OffscreenEditorInput::kRight) != 0;
    keys.shift = (input.modifiers & OffscreenEditorInput::kShift) != 0;
    keys.control = (input.modifiers & OffscreenEditorInput::kControl) != 0;
    keys.alt = (input.modifiers & OffscreenEditorInput::kAlt) != 0;
    return keys;
}

// What a Windows edit box or list does with a key down: the virtual keys that edit or commit.
// Backspace edits as the character it types, as in the edit box.
ValuePopupModel::Key PopupKeyOf(int32_t virtualKey) {
    using Key = ValuePopupModel::Key;
    switch (virtualKey) {
        case 0x0D:
            return Key::Commit;
        case 0x23:
            return Key::End;
        case 0x24:
            return Key::Home;
        case 0x25:
            return Key::Left;
        case 0x26:
            return Key::Up;
        case 0x27:
            return Key::Right;
        case 0x28:
            return Key::Down;
        case 0x2E:
            return Key::Delete;
        default:
            return Key::None;
    }
}

}  // namespace

void IOffscreenEditor::ShowValuePrompt(IControl* control, IParameter* parameter) {
    if (!control || !parameter || popupControl) return;
    popupModel = std::make_unique<ValuePopupModel>(*parameter);
    popupState = Focused;  // a new popup takes the keyboard focus
    popupControl = control;
    popupParameter = parameter;
}

intptr_t IOffscreenEditor::OffscreenRequest(int32_t request, void* data) {
    if (!data) return 0;
    if (request == kOffscreenInput) return OffscreenInput(*static_cast<const OffscreenEditorInput*>(data));
    if (request != kOffscreenPixels || !backBuffer || !backBuffer->Bits()) return 0;
    auto* out = static_cast<OffscreenEditorPixels*>(data);
    out->width = backBuffer->Width();
    out->height = backBuffer->Height();
    out->rowSpan = backBuffer->RowSpan();
    out->pixels = backBuffer->Bits();
    return 1;
}

intptr_t IOffscreenEditor::OffscreenInput(const OffscreenEditorInput& record) {
    const IMouseKeys keys = KeysOf(record);
    const int x = record.x, y = record.y;
    switch (record.kind) {
        case OffscreenEditorInput::kButtonDown:
            input.Press(keys.right ? EditorInput::Button::Right : EditorInput::Button::Left, x, y, keys);
            return 1;
        case OffscreenEditorInput::kButtonUp:
            input.Release(x, y, keys);
            return 1;
        case OffscreenEditorInput::kMove:
            input.Motion(x, y, keys);
            return 1;
        case OffscreenEditorInput::kDoubleClick:
            input.DoubleClick(x, y, keys);
            return 1;
        case OffscreenEditorInput::kWheel:
            input.Wheel(x, y, keys, record.amount);
            return 1;
        case OffscreenEditorInput::kKeyDown:
            // Keys go to the popup while one is open: it has the focus.
            if (popupModel)
                input.PopupKey(*popupModel, PopupKeyOf(record.amount), '\0');
            else
                input.Key(x, y, static_cast<uint32_t>(record.amount));
            return 1;
        case OffscreenEditorInput::kCharacter:
            if (popupModel) {
                const char c = static_cast<char>(record.amount);
                const bool backspace = record.amount == kBackspace;
                const bool typed = record.amount >= 0x20 && record.amount < 0x7F;
                input.PopupKey(*popupModel,
                               backspace ? ValuePopupModel::Key::Backspace : ValuePopupModel::Key::None,
                               typed ? c : '\0');
            }
            return 1;
        case OffscreenEditorInput::kChoose:
            return popupModel && input.PopupChoose(*popupModel, record.amount) ? 1 : 0;
        case OffscreenEditorInput::kTick:
            Tick();
            return 1;
        default:
            return 0;
    }
}
