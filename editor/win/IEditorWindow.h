#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "editor/IEditorWindowCore.h"

// The Windows editor: a child window of class "PluginEditorWindow" inside the host's window. A
// window timer ticks at the editor's frame rate; each tick applies or drops a finished value
// popup, repaints the dirty controls into the back buffer (never over the popup) and counts down
// a pending end of a wheel gesture. Window messages become the graphics context's mouse and key
// dispatch. Also offers the desktop services controls ask for: value popups (an edit box or a
// drop-down list), tooltips, web addresses, colour and file choosers, host and module folders.
//
// Threads: UI thread only — the thread that created the window — except what IEditorGraphics
// says host threads may call.
//
// Handles are kept as void* so that this header does not pull <windows.h> into its users.
class IEditorWindow : public IEditorWindowCore {
  public:
    static constexpr int kTimerId = 2;
    static constexpr int kPopupId = 99;
    static constexpr const char* kClassName = "PluginEditorWindow";

    using IEditorWindowCore::IEditorWindowCore;
    ~IEditorWindow() override;

    // ---- Overrides of the graphics context ----------------------------------------------------
    bool PresentArea(const IPixelRect& rect) override;
    void SetSize(int width, int height) override;
    void ShowValuePrompt(IControl* control, IParameter* parameter) override;
    void HostDirectory(std::string& out) override;
    void PluginDirectory(std::string& out) override;
    void PromptForFile(std::string& out, int action, const char* directory, const char* extensions) override;
    bool PromptForColour(IArgb& colour, const char* prompt) override;
    bool OpenWebAddress(const char* address, const char* title, const char* confirmText,
                        const char* failureText) override;
    int HostWheel(float notches) override;
    // Creates the editor window inside parent (on an open editor: in place of the old window, at
    // its place and size); the window, or null.
    void* OpenWindow(void* parent) override;
    void CloseWindow() override;
    void* NativeWindow() override { return window; }
    // The window's own mouse capture.
    void CapturePointer(bool on) override;
    bool PointerCaptured() override;

    // ---- What the window procedures call --------------------------------------------------------
    // The main window procedure's work for this editor's window.
    intptr_t HandleWindowMessage(unsigned message, uintptr_t wParam, intptr_t lParam);
    // The popup procedure's work for this editor's popup.
    intptr_t HandlePopupMessage(unsigned message, uintptr_t wParam, intptr_t lParam);

    // Number of editor windows using the window class in this module (it is registered while
    // this is above 0).
    static int ClassUsers();

    void* window = nullptr;
    void* tooltipWindow = nullptr;
    void* popup = nullptr;
    void* popupOldProcedure = nullptr;
    bool tooltipShown = false;
    int32_t tooltipIndex = -1;
    std::unique_ptr<uint32_t[]> customColours;

  private:
    // The edit box's text or the chosen list entry.
    std::string PopupText() override;
    // Restores the popup's procedure and destroys it.
    void DestroyPopup() override;
    // Invalidates the dirty area but the popup's and lets the paint message present it.
    bool RepaintDirty() override;
    // Gives the popup its own window procedure back.
    void UnhookPopup();
    // Drops the popup's handles and font once the popup is destroyed.
    void ReleasePopup();
    void CreateTooltips();
    void ShowTooltip();
    void HideTooltip();
    // Drops everything that belongs to the window once it is gone: pending end-edit, popup and
    // tooltip fields, the class registration.
    void ForgetWindow();

    void* popupFont = nullptr;
    // Set while CloseWindow destroys the window, so that its destruction message knows the
    // bookkeeping is already being done.
    bool closing = false;
};
