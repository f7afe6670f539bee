#pragma once

#include "editor/IControl.h"

// Shows one frame of an image strip, chosen by the value (also the editor's background).
class IBitmapControl : public IControl {
  public:
    // Horizontal strip: the rectangle is one frame at (x, y).
    IBitmapControl(IPluginCore* plug, int x, int y, int paramIndex, IImageStrip strip,
                   int32_t blendMethod = BlendNormal);
    // Any rectangle and frame direction (the background is one of these).
    IBitmapControl(IPluginCore* plug, IPixelRect rect, int paramIndex, IImageStrip strip, int32_t blendMethod,
                   bool verticalFrames);

    // Frame round((frames - 1) * value) + 1, clamped to the strip.
    bool Paint(IEditorGraphics& graphics) override;

    bool verticalFrames = false;
    // The strip shown; deliberately its own field, apart from IControl::image.
    IImageStrip image;
};
