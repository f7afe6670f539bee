#include "editor/IBitmapControl.h"

#include <algorithm>

#include "editor/IEditorGraphics.h"

IBitmapControl::IBitmapControl(IPluginCore* plug, int x, int y, int paramIndex, IImageStrip strip,
                               int32_t blendMethod)
    : IBitmapControl(plug, IPixelRect(x, y, x + strip.width / std::max(1, strip.frames), y + strip.height),
                     paramIndex, strip, blendMethod, false) {}

IBitmapControl::IBitmapControl(IPluginCore* plug, IPixelRect rect, int paramIndex, IImageStrip strip,
                               int32_t blendMethod, bool verticalFrames)
    : IControl(plug, rect, paramIndex, blendMethod), verticalFrames(verticalFrames), image(strip) {}

bool IBitmapControl::Paint(IEditorGraphics& graphics) {
    int frame = 1;
    if (image.frames >= 2) {
        const double f = (image.frames - 1) * value + 0.5;
        // Compared before converting: NaN or a value far outside 0..1 must not overflow it.
        frame = !(f >= 0.0)         ? 1
                : f >= image.frames ? image.frames
                                    : std::clamp(static_cast<int>(f) + 1, 1, image.frames);
    }
    return graphics.DrawImageFrame(image, rect, frame, blend, verticalFrames);
}
