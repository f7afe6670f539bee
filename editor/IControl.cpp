#include "editor/IControl.h"

#include "editor/IEditorGraphics.h"
#include "plugbase/IPluginCore.h"

IControl::IControl(IPluginCore* plug, IPixelRect rect, int paramIndex, int32_t blendMethod)
    : plug(plug), rect(rect), targetRect(rect), paramIndex(paramIndex), blend(blendMethod, 1.0f) {}

void IControl::MouseDown(int, int, const IMouseKeys& keys) {
    if (keys.right) PromptForValue();
}

void IControl::MouseUp(int, int, const IMouseKeys&) {}

void IControl::MouseDrag(int, int, int, int, const IMouseKeys&) {}

void IControl::MouseDoubleClick(int, int, const IMouseKeys&) {
    const double fallback = defaultValue;
    if (fallback < 0.0) return;
    value = fallback;
    MarkDirty(true);
}

void IControl::MouseWheel(int, int, const IMouseKeys& keys, int notches) {
    const double step = (keys.control || keys.shift) ? 0.001 : 0.01;
    value += notches * step;
    MarkDirty(true);
}

void IControl::KeyDown(int, int, int) {}

void IControl::MouseOver(int, int, const IMouseKeys&) {}

void IControl::MouseOut() {}

void IControl::SetValueFromParameter(double v) {
    if (defaultValue < 0.0) {
        // The value present when the editor is built is what a double click restores.
        defaultValue = v;
    } else if (v == value) {
        return;
    }
    value = v;
    MarkDirtyForRedraw(false);
}

void IControl::SetValueFromUser(double v) {
    if (v != value) value = v;
    MarkDirtyForRedraw(true);
}

void IControl::SetHidden(bool flag) {
    hidden = flag;
    MarkDirtyForRedraw(false);
}

void IControl::SetGreyed(bool flag) {
    greyed = flag;
    blend.weight = flag ? 0.25f : 1.0f;
    MarkDirty(false);
}

bool IControl::Contains(int x, int y) {
    return targetRect.Contains(x, y);
}

void IControl::MarkDirty(bool push) {
    const double v = value;
    if (!(v >= clampLow))  // also NaN
        value = clampLow;
    else if (v > clampHigh)
        value = clampHigh;
    dirty = true;
    if (push && plug && paramIndex >= 0) plug->ApplyParameterFromEditor(paramIndex, value);
}

void IControl::MarkClean() {
    repaint_.Clean();
}

bool IControl::NeedsRepaint() {
    return dirty;
}

void IControl::PromptForValue() {
    if (paramIndex < 0 || promptDisabled || !plug) return;
    if (IEditorGraphics* editor = Editor()) editor->ShowValuePrompt(this, plug->Parameter(paramIndex));
    redraw = true;
}

void IControl::PromptClosed() {
    MarkDirtyForRedraw(true);
}

IEditorGraphics* IControl::Editor() const {
    return plug ? dynamic_cast<IEditorGraphics*>(plug->Editor()) : nullptr;
}

void IControl::MarkDirtyForRedraw(bool push) {
    redraw = true;
    MarkDirty(push);
}
