#include "editor/posix/IEditorWindow.h"

#include "editor/NewEditorWindow.h"

IEditorGraphics* NewEditorWindow(IPluginCore* plug, int width, int height, int frameRate, void* instance) {
    return new IEditorWindow(plug, width, height, frameRate, instance);
}

IEditorWindow::~IEditorWindow() {
    CloseWindow();
}

bool IEditorWindow::PresentArea(const IPixelRect&) {
    return true;
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
    FlushEndEdit();
}
