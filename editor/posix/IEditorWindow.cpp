#include "editor/posix/IEditorWindow.h"

#include "editor/NewEditorWindow.h"
#include "editor/PromptText.h"
#include "plugbase/IPluginCore.h"
#include "raster/DibBitmap.h"
#include "raster/PngDecoder.h"

IEditorGraphics* NewEditorWindow(IPluginCore* plug, int width, int height, int frameRate, void* instance) {
    auto* window = new IEditorWindow(plug, width, height, frameRate);
    window->instance = instance;
    return window;
}

IEditorWindow::IEditorWindow(IPluginCore* plug, int width, int height, int frameRate)
    : IEditorGraphics(plug, width, height, frameRate) {}

IEditorWindow::~IEditorWindow() {
    CloseWindow();
}

bool IEditorWindow::PresentArea(const IPixelRect&) {
    return true;
}

void IEditorWindow::SetSize(int newWidth, int newHeight) {
    ClosePopup(false);  // its control is about to be deleted
    IEditorGraphics::SetSize(newWidth, newHeight);
    if (backBuffer) backBuffer->Resize(width, height);
}

void IEditorWindow::HostDirectory(std::string& out) {
    out.clear();
}

void IEditorWindow::PluginDirectory(std::string& out) {
    out.clear();
}

void IEditorWindow::PromptForFile(std::string& out, int, const char*, const char*) {
    out.clear();
}

bool IEditorWindow::PromptForColour(IArgb&, const char*) {
    return false;
}

bool IEditorWindow::OpenWebAddress(const char*, const char*, const char*, const char*) {
    return false;
}

int IEditorWindow::HostWheel(float) {
    return 0;
}

void* IEditorWindow::OpenWindow(void*) {
    return nullptr;
}

void IEditorWindow::CloseWindow() {
    ClosePopup(false);
    captured = false;
    if (endEditTicks != 0 && plug) plug->FlushPendingEndEdit();
}

std::unique_ptr<RasterBitmap> IEditorWindow::LoadImageResource(int id, const char*) {
    return std::unique_ptr<RasterBitmap>(LoadPngResource(instance, id, nullptr));
}

void IEditorWindow::Tick() {
    if (popupControl) {
        if (popupState == Focused) {
            popupState = Idle;
        } else if (popupState == Commit) {
            ApplyPromptText(plug, popupControl, popupParameter, popupText.c_str());
            ClosePopup(true);
        } else if (popupState == Cancel) {
            ClosePopup(true);
        }
    }
    IPixelRect dirtyArea;
    if (CollectDirty(dirtyArea)) PaintArea(dirtyArea);
    if (endEditTicks > 0 && --endEditTicks == 0 && plug) plug->FlushPendingEndEdit();
}
