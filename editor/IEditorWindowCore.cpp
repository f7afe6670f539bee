#include "editor/IEditorWindowCore.h"

#include "editor/PromptText.h"
#include "plugbase/IPluginCore.h"
#include "raster/DibBitmap.h"
#include "raster/PngDecoder.h"

IEditorWindowCore::IEditorWindowCore(IPluginCore* plug, int width, int height, int frameRate, void* instance)
    : IEditorGraphics(plug, width, height, frameRate), instance(instance) {}

void IEditorWindowCore::SetSize(int newWidth, int newHeight) {
    ClosePopup(false);
    IEditorGraphics::SetSize(newWidth, newHeight);
    if (backBuffer) backBuffer->Resize(width, height);
}

std::unique_ptr<RasterBitmap> IEditorWindowCore::LoadImageResource(int id, const char* /*name*/) {
    return std::unique_ptr<RasterBitmap>(LoadPngResource(instance, id, nullptr));
}

void IEditorWindowCore::Tick() {
    if (popupControl) {
        switch (popupState) {
            case Focused:
                popupState = Idle;
                break;
            case Commit:
                ApplyPromptText(plug, popupControl, popupParameter, PopupText().c_str());
                ClosePopup(true);
                break;
            case Cancel:
                ClosePopup(true);
                break;
            case Idle:
                break;
        }
    }
    if (!RepaintDirty()) return;
    const int32_t ticks = endEditTicks;
    if (ticks <= 0) return;
    endEditTicks = ticks - 1;
    if (ticks == 1 && plug) plug->FlushPendingEndEdit();
}

bool IEditorWindowCore::RepaintDirty() {
    IPixelRect dirty;
    if (CollectDirty(dirty)) PaintArea(dirty);
    return true;
}

void IEditorWindowCore::ClosePopup(bool notify) {
    IControl* control = popupControl;
    if (!control) return;
    DestroyPopup();
    ForgetPopup();
    if (notify) control->PromptClosed();
}

void IEditorWindowCore::ForgetPopup() {
    popupControl = nullptr;
    popupParameter = nullptr;
    popupState = Idle;
}

void IEditorWindowCore::FlushEndEdit() {
    if (endEditTicks != 0 && plug) plug->FlushPendingEndEdit();
}
