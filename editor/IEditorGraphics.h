#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/IArgb.h"
#include "editor/IBlend.h"
#include "editor/IControl.h"
#include "editor/IImageStrip.h"
#include "editor/IMouseKeys.h"
#include "editor/IPixelRect.h"
#include "editor/ITextStyle.h"
#include "plugbase/IEditorLink.h"
#include "raster/DibBitmap.h"

class GlyphCacheFont;
class IParameter;
class IPluginCore;
class RasterBitmap;

// The platform-independent half of the plug-in's editor: the ordered control list (index 0, the
// background, is drawn first and hit last), a back buffer of the editor's size, the mouse state,
// the drawing operations controls use while painting, repaint tracking and the parameter links.
// The window half derives from it: IEditorWindowCore (editor/IEditorWindowCore.h) adds what every
// platform shares, and each platform's IEditorWindow the window, input and presentation.
//
// Threads: UI thread (the editor window's), except ShowParameterValue and
// SetBoundControlsFromUser, which the plug-in calls from any thread with its lock held; they
// only store control values and flags (atomics), which the next tick picks up. Painting never
// takes the plug-in's lock: the controls read parameters through IParameter's lock-free readers.
// The image and font caches are process-wide, each with its own lock.
//
// Ownership: the context owns its controls (deleted last to first) and its back buffer; images
// and fonts belong to the caches.
class IEditorGraphics : public IEditorLink {
  public:
    static constexpr int kDefaultFrameRate = 24;

    // frameRate <= 0 means 24.
    IEditorGraphics(IPluginCore* plug, int width, int height, int frameRate);
    ~IEditorGraphics() override;
    IEditorGraphics(const IEditorGraphics&) = delete;
    IEditorGraphics& operator=(const IEditorGraphics&) = delete;

    // ---- Virtual operations; those without a body here belong to the platform window ----------
    // Copies rect of the back buffer to the screen.
    virtual bool PresentArea(const IPixelRect& rect) = 0;
    // Stores the size, resets the capture, deletes every control and tells the plug-in
    // (EditorSizeChanged). The window resizes the back buffer and itself.
    virtual void SetSize(int width, int height);
    virtual bool IsOpen() { return NativeWindow() != nullptr; }
    virtual void ShowValuePrompt(IControl* control, IParameter* parameter) = 0;
    virtual void HostDirectory(std::string& out) = 0;
    virtual void PluginDirectory(std::string& out) = 0;
    // action 1: save dialog; otherwise open. extensions: space-separated, e.g. "wav aif".
    virtual void PromptForFile(std::string& out, int action, const char* directory,
                               const char* extensions) = 0;
    virtual bool PromptForColour(IArgb& colour, const char* prompt) = 0;
    virtual bool OpenWebAddress(const char* address, const char* title, const char* confirmText,
                                const char* failureText) = 0;
    int HostWheel(float notches) override { return (void)notches, 0; }
    void StartEndEditCountdown(int ticks) override = 0;
    void CancelEndEditCountdown() override = 0;
    void* OpenWindow(void* parent) override = 0;
    void CloseWindow() override = 0;
    virtual void* NativeWindow() = 0;
    // Decodes the image resource id (name is handed through only); null when it cannot.
    virtual std::unique_ptr<RasterBitmap> LoadImageResource(int id, const char* name) = 0;

    // ---- Plug-in link ------------------------------------------------------------------------
    // [any thread, with the lock held] value normalised, or plain (converted by the parameter)
    // when isNormalized is false; then SetValueFromParameter on every control bound to index, in
    // list order.
    void ShowParameterValue(int index, double value, bool isNormalized) override;
    // Creates the back buffer (width x height).
    void PrepareDrawing() override;
    int FrameRate() const override { return frameRate; }
    // The frame rate's period, truncated (41 ms at 24).
    int TimerMilliseconds() const override {
        return static_cast<int>(1000.0 / (frameRate > 0 ? frameRate : kDefaultFrameRate));
    }
    int Width() const override { return width; }
    int Height() const override { return height; }
    // [any thread, with the lock held] SetValueFromUser on every control bound to index.
    void SetBoundControlsFromUser(int index, double normalized);

    // ---- Building the editor --------------------------------------------------------------------
    // Takes ownership; answers the control's index. Null answers -1.
    int AttachControl(IControl* control);
    // Inserts at index 0 an unbound BlendReplace bitmap control showing the image.
    void AttachBackground(int id, const char* name);
    // The cached image for id, decoded once per process. An image that cannot be loaded gives a
    // strip with a null bitmap and zero size.
    IImageStrip LoadImageStrip(int id, const char* name, int frames);
    // A copy of rect of the strip's image, kept by the image cache; empty for an empty rect or
    // a strip without image.
    IImageStrip CropImage(const IImageStrip& strip, const IPixelRect& rect);

    // ---- Drawing, inside IControl::Paint; every operation answers true unless said otherwise ---
    // Clipped to paintRect; source offset by where the clipped area starts.
    bool DrawImage(RasterBitmap* bitmap, const IPixelRect& dest, int srcX, int srcY,
                   const IBlend& blend = IBlend());
    // frame counts from 1; the blit is dest's size, so dest should be one frame.
    bool DrawImageFrame(const IImageStrip& strip, const IPixelRect& dest, int frame,
                        const IBlend& blend = IBlend(), bool vertical = false);
    // The whole strip turned by angle radians about (centreX, centreY), bilinear; not clipped.
    bool DrawRotatedImage(const IImageStrip& strip, int centreX, int centreY, double angle,
                          const IBlend& blend = IBlend(), float srcX = 0.0f, float srcY = 0.0f);
    // Not clipped to paintRect.
    bool FillRect(const IArgb& colour, const IPixelRect& rect, const IBlend& blend = IBlend());
    // Not clipped to paintRect. False when no font can be made for the style.
    bool DrawLabel(ITextStyle& style, const char* text, const IPixelRect& rect);
    // The cached font for the style's size, orientation, style bits and face (colour, alignment
    // and quality are not part of the key); stored into style.font. Null when none can be made.
    GlyphCacheFont* FindFont(ITextStyle& style);

    // ---- Repaint -----------------------------------------------------------------------------
    // Union of the rectangles of every control that needs repainting (hidden ones too).
    bool CollectDirty(IPixelRect& out);
    // Repaints rect (strict: every visible control overlapping it, in list order, clipped to it;
    // every control is cleaned) and presents it. Nothing at all without controls.
    bool PaintArea(const IPixelRect& rect);
    void MarkAllDirty();

    // ---- Mouse and keys, in editor coordinates ------------------------------------------------
    // The captured control, else the topmost visible, not greyed control containing the point.
    int ControlAt(int x, int y);
    void HandleMouseDown(int x, int y, const IMouseKeys& keys);
    void HandleMouseUp(int x, int y, const IMouseKeys& keys);
    // Begins the host gesture of a press on a control of parameter index (none for -1); the
    // release ends it.
    void BeginPressGesture(int32_t index);
    void HandleMouseDrag(int x, int y, const IMouseKeys& keys);
    // True: the window must capture the mouse (the control takes double clicks as presses).
    bool HandleDoubleClick(int x, int y, const IMouseKeys& keys);
    void HandleMouseWheel(int x, int y, const IMouseKeys& keys, int notches);
    void HandleKeyDown(int x, int y, int key);
    // True: the window must ask for hover and leave notifications.
    bool HandleMouseOver(int x, int y, const IMouseKeys& keys);
    void HandleMouseOut();

    // ---- Queries ---------------------------------------------------------------------------
    int ControlCount() const { return static_cast<int>(controls.size()); }
    IControl* Control(int index) const;  // null when out of range
    DibBitmap* BackBuffer() const { return backBuffer.get(); }
    IPluginCore* Plug() const { return plug; }

  protected:
    // Deletes every control, last to first.
    void DeleteControls();

  private:
    // The diagnostic overlay: every control's outline and the last pointer position.
    void DrawBounds();

  public:
    std::vector<IControl*> controls;  // owned
    IPluginCore* plug;
    IPixelRect paintRect;
    std::unique_ptr<DibBitmap> backBuffer;
    int32_t width;
    int32_t height;
    int32_t frameRate;
    int32_t captureIndex = -1;
    int32_t gestureIndex = -1;  // the parameter whose host gesture a press began; its release ends it
    int32_t overIndex = -1;
    int32_t lastX = 0;
    int32_t lastY = 0;
    bool trackMouseOver = false;
    bool tooltips = false;
    bool strictPaint = true;
    bool showBounds = false;
};
