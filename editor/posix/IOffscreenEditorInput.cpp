// Driving the window-less editor from a host: the rules of the Windows editor window's messages,
// applied to input records instead of window messages.
#include <cstring>

#include "editor/posix/IOffscreenEditor.h"
#include "editor/EditorKeys.h"
#include "plugbase/IParameter.h"
#include "raster/DibBitmap.h"
#include "abi/OffscreenEditor.h"

namespace {

constexpr int32_t kReturnKey = 0x0D;
constexpr int32_t kBackspace = 0x08;
// As many characters as a popup's text is read with.
constexpr size_t kMaxPopupText = IEditorWindowCore::kPopupTextChars - 1;

IMouseKeys KeysOf(const OffscreenEditorInput& input) {
    IMouseKeys keys;
    keys.left = (input.buttons & OffscreenEditorInput::kLeft) != 0;
    keys.right = (input.buttons & OffscreenEditorInput::kRight) != 0;
    keys.shift = (input.modifiers & OffscreenEditorInput::kShift) != 0;
    keys.control = (input.modifiers & OffscreenEditorInput::kControl) != 0;
    keys.alt = (input.modifiers & OffscreenEditorInput::kAlt) != 0;
    return keys;
}

}  // namespace

void IOffscreenEditor::ShowValuePrompt(IControl* control, IParameter* parameter) {
    if (!control || !parameter || popupControl) return;
    char current[IParameter::kTextBytes] = {};
    parameter->FormatForHost(parameter->PlainValue(), false, current, sizeof current);
    const ParameterKind kind = parameter->Kind();
    popupIsList =
        parameter->ValueTextCount() > 0 && (kind == ParameterKind::Toggle || kind == ParameterKind::Choice);
    popupText = current;
    popupTextSelected = true;
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

intptr_t IOffscreenEditor::OffscreenInput(const OffscreenEditorInput& input) {
    const IMouseKeys keys = KeysOf(input);
    const int x = input.x, y = input.y;
    switch (input.kind) {
        case OffscreenEditorInput::kButtonDown:
            if (keys.right && popupControl) {
                popupState = Cancel;  // and nothing else
                return 1;
            }
            if (popupControl) popupState = Commit;
            captured = true;
            HandleMouseDown(x, y, keys);
            return 1;
        case OffscreenEditorInput::kButtonUp:
            captured = false;
            HandleMouseUp(x, y, keys);
            return 1;
        case OffscreenEditorInput::kMove:
            if (keys.left || keys.right) {
                if (captured) HandleMouseDrag(x, y, keys);
            } else {
                HandleMouseOver(x, y, keys);
            }
            return 1;
        case OffscreenEditorInput::kDoubleClick:
            if (HandleDoubleClick(x, y, keys)) captured = true;
            return 1;
        case OffscreenEditorInput::kWheel:
            HandleMouseWheel(x, y, keys, input.amount);
            return 1;
        case OffscreenEditorInput::kKeyDown:
            if (popupControl) {
                // Keys go to the popup, which has the focus; Enter commits, nothing else acts.
                if (input.amount == kReturnKey) {
                    popupTextSelected = false;
                    popupState = Commit;
                } else {
                    popupState = Focused;
                }
                return 1;
            }
            if (int code = EditorKeyFromVirtualKey(static_cast<uint32_t>(input.amount)); code >= 0)
                HandleKeyDown(x, y, code);
            return 1;
        case OffscreenEditorInput::kCharacter: {
            // Typing edits the edit box's text; a drop-down list takes no typed text.
            if (!popupControl || popupIsList) return 1;
            const int c = input.amount;
            if (c == kBackspace) {
                if (popupTextSelected)
                    popupText.clear();
                else if (!popupText.empty())
                    popupText.pop_back();
            } else if (c >= 0x20 && c < 0x7F) {
                if (popupTextSelected) popupText.clear();
                if (popupText.size() < kMaxPopupText) popupText += static_cast<char>(c);
            }
            popupTextSelected = false;
            return 1;
        }
        case OffscreenEditorInput::kChoose: {
            if (!popupControl || !popupIsList) return 0;
            const ValueText* entry = popupParameter->ValueTextAt(input.amount);
            if (!entry) return 0;
            popupText = entry->text;
            popupState = Commit;
            return 1;
        }
        case OffscreenEditorInput::kTick:
            Tick();
            return 1;
        default:
            return 0;
    }
}
