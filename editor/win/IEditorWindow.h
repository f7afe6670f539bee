#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "editor/IEditorGraphics.h"

// The Windows editor: a child window of class "PluginEditorWindow" inside the host's window. A
// window timer ticks at the editor's frame rate; each tick applies or drops a finished value
// popup, repaints the dirty controls into the back buffer (never over the popup) and counts down
// a pending end of a wheel gesture. Window messages become the graphics context's mouse and key
// dispatch. Also offers the desktop services controls ask for: value popups (an edit box or a
// drop-down list), tooltips, web addresses, colour and file choosers, host and module folders.
//
// Threads: every operation runs on the thread that created the window (the host's user-interface
// thread), except what IEditorGraphics says may come from host threads.
//
// Handles are kept as void* so that this header does not pull <windows.h> into its users.
class IEditorWindow : public IEditorGraphics {
  public:
    enum ValuePromptState : int32_t { Idle = 0, Focused = 1, Cancel = 2, Commit = 3 };
    static constexpr int kTimerId = 2;
    static constexpr int kPopupId = 99;
    static constexpr int kPopupTextChars = 1000;
    static constexpr const char* kClassName = "PluginEditorWindow";

    IEditorWindow(IPluginCore* plug, int width, int height, int frameRate);
    ~IEditorWindow() override;

    // ---- Overrides of the graphics context ----------------------------------------------------
    bool PresentArea(const IPixelRect& rect) override;
    void SetSize(int width, int height) override;
    bool IsOpen() override { return window != nullptr; }
    void ShowValuePrompt(IControl* control, IParameter* parameter) override;
    void HostDirectory(std::string& out) override;
    void PluginDirectory(std::string& out) override;
    void PromptForFile(std::string& out, int action, const char* directory, const char* extensions) override;
    bool PromptForColour(IArgb& colour, const char* prompt) override;
    bool OpenWebAddress(const char* address, const char* title, const char* confirmText,
                        const char* failureText) override;
    int HostWheel(float notches) override;
    void StartEndEditCountdown(int ticks) override { endEditTicks = ticks; }
    void CancelEndEditCountdown() override { endEditTicks = 0; }
    // Creates the editor window inside parent (on an open editor: in place of the old window, at
    // its place and size); the window, or null.
    void* OpenWindow(void* parent) override;
    void CloseWindow() override;
    void* NativeWindow() override { return window; }
    std::unique_ptr<RasterBitmap> LoadImageResource(int id, const char* name) override;

    // ---- What the window procedures call --------------------------------------------------------
    // One timer tick: popup, repaint, end-edit countdown.
    void Tick();
    // The main window procedure's work for this editor's window.
    intptr_t HandleWindowMessage(unsigned message, uintptr_t wParam, intptr_t lParam);
    // The popup procedure's work for this editor's popup.
    intptr_t HandlePopupMessage(unsigned message, uintptr_t wParam, intptr_t lParam);

    // Number of editor windows using the window class in this module (it is registered while
    // this is above 0).
    static int ClassUsers();

    void* instance = nullptr;
    void* window = nullptr;
    void* tooltipWindow = nullptr;
    void* popup = nullptr;
    IControl* popupControl = nullptr;
    IParameter* popupParameter = nullptr;
    void* popupOldProcedure = nullptr;
    ValuePromptState popupState = Idle;
    bool tooltipShown = false;
    int32_t tooltipIndex = -1;
    int32_t endEditTicks = 0;
    std::unique_ptr<uint32_t[]> customColours;

  private:
    // Restores the popup's procedure and destroys it; with notify, tells its control first.
    void ClosePopup(bool notify);
    void ApplyPopupText();
    // Gives the popup its own window procedure back.
    void UnhookPopup();
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
