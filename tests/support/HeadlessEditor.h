#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/IBitmapControl.h"
#include "editor/IEditorWindowCore.h"
#include "raster/MemoryBitmap.h"

// An editor window core with a recording stand-in for the platform: it presents nothing,
// records popups, web addresses and presented areas, decodes "images" from a table of solid
// colours (counting decodes per id) and ticks like the window timer.
class HeadlessEditor : public IEditorWindowCore {
  public:
    struct SolidImage {
        int width;
        int height;
        uint32_t colour;
    };
    struct Prompt {
        IControl* control;
        IParameter* parameter;
    };

    HeadlessEditor(IPluginCore* plug, int width, int height, int frameRate = 0)
        : IEditorWindowCore(plug, width, height, frameRate, nullptr) {}
    ~HeadlessEditor() override { CloseWindow(); }

    bool PresentArea(const IPixelRect& rect) override {
        presented.push_back(rect);
        return true;
    }
    void ShowValuePrompt(IControl* control, IParameter* parameter) override {
        prompts.push_back({control, parameter});
    }
    void HostDirectory(std::string& out) override { out.clear(); }
    void PluginDirectory(std::string& out) override { out.clear(); }
    void PromptForFile(std::string& out, int, const char*, const char*) override { out.clear(); }
    bool PromptForColour(IArgb&, const char*) override { return false; }
    bool OpenWebAddress(const char* address, const char*, const char* confirmText,
                        const char* failureText) override {
        webAddresses.push_back(address);
        messageBoxes += (confirmText != nullptr) + (failureText != nullptr);
        return webAnswer;
    }
    void* OpenWindow(void*) override { return nullptr; }
    void CloseWindow() override { FlushEndEdit(); }
    void* NativeWindow() override { return nullptr; }
    std::unique_ptr<RasterBitmap> LoadImageResource(int id, const char* name) override;

    // The back buffer's pixel at (x, y).
    uint32_t Pixel(int x, int y) const;

    // Images LoadImageResource can "decode", by id.
    static void DefineImage(int id, SolidImage image) { Images()[id] = image; }
    static std::map<int, int>& Decodes() {
        static std::map<int, int> decodes;
        return decodes;
    }

    std::vector<IPixelRect> presented;
    std::vector<Prompt> prompts;
    std::vector<std::string> webAddresses;
    int messageBoxes = 0;
    bool webAnswer = false;

  private:
    // No popup is ever open: ShowValuePrompt only records.
    std::string PopupText() override { return {}; }
    void DestroyPopup() override {}
    static std::map<int, SolidImage>& Images() {
        static std::map<int, SolidImage> images;
        return images;
    }
};

// A bitmap control that counts its paints.
class CountingBitmap : public IBitmapControl {
  public:
    using IBitmapControl::IBitmapControl;
    bool Paint(IEditorGraphics& graphics) override {
        ++paints;
        return IBitmapControl::Paint(graphics);
    }
    int paints = 0;
};

// A solid strip of one frame, for controls that need some image.
std::unique_ptr<MemoryBitmap> SolidBitmap(int width, int height, uint32_t colour);
