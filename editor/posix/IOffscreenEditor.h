#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "editor/IEditorWindowCore.h"
#include "editor/ValuePopupModel.h"

// The window-less editor: OpenWindow answers null, so the host sees an editor it cannot open,
// while everything above the window — painting into the back buffer, mouse and key dispatch,
// parameter links, the end-edit countdown — works and can be driven through Tick() exactly as a
// window timer would. The X11 editor window (editor/x11/IEditorWindow) derives from it and is
// this editor whenever it has no window: no display, no libxcb, or a host that drives it
// offscreen.
//
// A host can also drive it offscreen (abi/OffscreenEditor.h): the input the Windows window
// would receive, translated into the same rules (EditorInput), and a value popup kept as its
// text-entry model, so that one script gives the same parameter changes on both platforms.
//
// Threads: UI thread only, except what IEditorGraphics says host threads may call; the thread
// that calls Tick and the Handle* operations plays the window's thread.
class IOffscreenEditor : public IEditorWindowCore {
  public:
    using IEditorWindowCore::IEditorWindowCore;
    ~IOffscreenEditor() override;

    // Nothing to show the pixels on: answers true.
    bool PresentArea(const IPixelRect& rect) override;
    // Opens the offscreen value popup: the current value text, selected, as the Windows edit box
    // or drop-down list would show it. Nothing when either is missing or a popup is open.
    void ShowValuePrompt(IControl* control, IParameter* parameter) override;
    void HostDirectory(std::string& out) override;
    void PluginDirectory(std::string& out) override;
    void PromptForFile(std::string& out, int action, const char* directory, const char* extensions) override;
    bool PromptForColour(IArgb& colour, const char* prompt) override;
    bool OpenWebAddress(const char* address, const char* title, const char* confirmText,
                        const char* failureText) override;
    // The pointer is never over an editor window: 0.
    int HostWheel(float notches) override;
    void* OpenWindow(void* parent) override;
    // Flushes a pending end-edit so that a wheel gesture never stays open.
    void CloseWindow() override;
    void* NativeWindow() override { return nullptr; }
    // Input, ticks and pixels from a host without a window (see abi/OffscreenEditor.h).
    intptr_t OffscreenRequest(int32_t request, void* data) override;

  protected:
    std::string PopupText() override;
    void DestroyPopup() override;

    // The open popup's text-entry model (the X11 window's drawn popup shows the same one).
    std::unique_ptr<ValuePopupModel> popupModel;

  private:
    intptr_t OffscreenInput(const struct OffscreenEditorInput& record);
};
