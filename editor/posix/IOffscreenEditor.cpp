#include "editor/posix/IOffscreenEditor.h"

IOffscreenEditor::~IOffscreenEditor() {
    CloseWindow();
}

bool IOffscreenEditor::PresentArea(const IPixelRect&) {
    return true;
}

void IOffscreenEditor::HostDirectory(std::string& out) {
    out.clear();
}

void IOffscreenEditor::PluginDirectory(std::string& out) {
    out.clear();
}

void IOffscreenEditor::PromptForFile(std::string& out, int, const char*, const char*) {
    out.clear();
}

bool IOffscreenEditor::PromptForColour(IArgb&, const char*) {
    return false;
}

bool IOffscreenEditor::OpenWebAddress(const char*, const char*, const char*, const char*) {
    return false;
}

int IOffscreenEditor::HostWheel(float) {
    return 0;
}

void* IOffscreenEditor::OpenWindow(void*) {
    return nullptr;
}

std::string IOffscreenEditor::PopupText() {
    return popupModel ? popupModel->Text() : std::string();
}

void IOffscreenEditor::DestroyPopup() {
    popupModel.reset();
}

void IOffscreenEditor::CloseWindow() {
    ClosePopup(false);
    captured = false;
    FlushEndEdit();
}
