#include "editor/IWebLinkControl.h"

#include <cstring>

#include "editor/IEditorGraphics.h"

namespace {

void CopyTruncated(char* buffer, size_t capacity, const char* text) {
    if (text == nullptr || text[0] == '\0') return;
    const size_t n = strnlen(text, capacity - 1);
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
}

}  // namespace

IWebLinkControl::IWebLinkControl(IPluginCore* plug, IPixelRect rect, const char* primary,
                                 const char* fallback, const char* caption)
    : IControl(plug, rect) {
    CopyTruncated(primaryAddress, sizeof primaryAddress, primary);
    CopyTruncated(fallbackAddress, sizeof fallbackAddress, fallback);
    CopyTruncated(this->caption, sizeof this->caption, caption);
}

void IWebLinkControl::MouseDown(int, int, const IMouseKeys&) {
    IEditorGraphics* editor = Editor();
    if (editor == nullptr) return;
    if (primaryAddress[0] != '\0' && editor->OpenWebAddress(primaryAddress, caption, nullptr, nullptr))
        return;
    if (fallbackAddress[0] != '\0') editor->OpenWebAddress(fallbackAddress, caption, nullptr, nullptr);
}

bool IWebLinkControl::Paint(IEditorGraphics&) {
    return true;
}
