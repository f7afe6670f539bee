#pragma once

#include <memory>
#include <string>

#include "editor/IEditorGraphics.h"

// The editor window of a platform that has no editor window yet: OpenWindow answers null, so the
// host sees an editor it cannot open, while everything above the window — painting into the back
// buffer, mouse and key dispatch, parameter links, the end-edit countdown — works and can be
// driven through Tick() exactly as a window timer would.
//
// Threads: the thread that calls Tick and the Handle* operations plays the window's thread.
class IEditorWindow : public IEditorGraphics {
  public:
    IEditorWindow(IPluginCore* plug, int width, int height, int frameRate);
    ~IEditorWindow() override;

    // Nothing to show the pixels on: answers true.
    bool PresentArea(const IPixelRect& rect) override;
    // The base steps, then the back buffer follows the new size.
    void SetSize(int width, int height) override;
    bool IsOpen() override { return false; }
    // No window to hold a popup: nothing.
    void ShowValuePrompt(IControl* control, IParameter* parameter) override;
    void HostDirectory(std::string& out) override;
    void PluginDirectory(std::string& out) override;
    void PromptForFile(std::string& out, int action, const char* directory, const char* extensions) override;
    bool PromptForColour(IArgb& colour, const char* prompt) override;
    bool OpenWebAddress(const char* address, const char* title, const char* confirmText,
                        const char* failureText) override;
    // The pointer is never over an editor window: 0.
    int HostWheel(float notches) override;
    void StartEndEditCountdown(int ticks) override { endEditTicks = ticks; }
    void CancelEndEditCountdown() override { endEditTicks = 0; }
    void* OpenWindow(void* parent) override;
    // Flushes a pending end-edit so that a wheel gesture never stays open.
    void CloseWindow() override;
    void* NativeWindow() override { return nullptr; }
    // The image embedded under id.
    std::unique_ptr<RasterBitmap> LoadImageResource(int id, const char* name) override;

    // One timer tick: repaints the union of the dirty controls into the back buffer, then counts
    // the end-edit countdown down and flushes the pending end-edit when it reaches zero.
    void Tick();

    // Module token for the image resources; set by the effect after construction.
    void* instance = nullptr;
    int32_t endEditTicks = 0;
};
