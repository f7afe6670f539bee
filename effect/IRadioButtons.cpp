#include "effect/IRadioButtons.h"

#include "editor/IEditorGraphics.h"
#include "effect/RoundHalfAway.h"

namespace {

int FrameCount(const IImageStrip& strip) {
    return strip.frames < 1 ? 1 : strip.frames;
}

// The rectangle a strip covers from (x, y): the image when it is split into the buttons, the
// image once per button otherwise.
IPixelRect StripRect(int x, int y, const IImageStrip& strip, bool split, bool vertical) {
    const int along = split ? 1 : FrameCount(strip);
    return vertical ? IPixelRect(x, y, x + strip.width, y + strip.height * along)
                    : IPixelRect(x, y, x + strip.width * along, y + strip.height);
}

}  // namespace

IRadioButtons::IRadioButtons(IPluginCore* plug, int paramIndex, int x, int y, IImageStrip strip, bool split,
                             int orientation, int size0, int size1, int size2)
    : IControl(plug, StripRect(x, y, strip, split, orientation != kHorizontal), paramIndex),
      stripImage(strip),
      vertical(orientation != kHorizontal),
      split_(split) {
    const int count = ::FrameCount(strip);
    const int imageLength = vertical ? strip.height : strip.width;
    const int share = imageLength / count;
    const int sizes[3] = {size0, size1, size2};
    int pos = vertical ? y : x;
    int extent = share;
    buttonRects.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (!split) {
            extent = imageLength;
        } else if (i == count - 1) {
            // The last button takes the rest, so every point of the strip lies in one button.
            extent = size0 != 0 || size1 != 0 || size2 != 0 ? imageLength - size0 - size1 - size2 : share;
        } else if (i < 3) {
            extent = sizes[i] != 0 ? sizes[i] : share;
        }
        buttonRects.push_back(vertical ? IPixelRect(x, pos, x + strip.width, pos + extent)
                                       : IPixelRect(pos, y, pos + extent, y + strip.height));
        pos += extent;
    }
}

int IRadioButtons::SelectedButton() const {
    const int last = ButtonCount() - 1;
    const int k = RoundHalfAway(last * static_cast<double>(value));
    return k < 0 ? 0 : (k > last ? last : k);
}

bool IRadioButtons::Paint(IEditorGraphics& graphics) {
    if (buttonRects.empty()) return true;
    const IPixelRect& r = buttonRects[static_cast<size_t>(SelectedButton())];
    // A split image is drawn where the button lies in it; an unsplit one whole on every button.
    const int srcX = vertical || !split_ ? 0 : r.left - rect.left;
    const int srcY = !vertical || !split_ ? 0 : r.top - rect.top;
    return graphics.DrawImage(stripImage.bitmap, r, srcX, srcY, blend);
}

void IRadioButtons::MouseDown(int x, int y, const IMouseKeys& keys) {
    if (keys.right) {
        if (!promptDisabled) PromptForValue();
    } else {
        const int last = ButtonCount() - 1;
        for (int i = 0; i <= last; ++i) {
            if (buttonRects[static_cast<size_t>(i)].Contains(x, y)) {
                // A strip of one button has only the value 0.
                value = last > 0 ? static_cast<double>(i) / last : 0.0;
                break;
            }
        }
    }
    MarkDirty(true);
}
