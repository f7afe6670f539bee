#include "effect/IKnobRotVal.h"

#include <cmath>
#include <cstring>

#include "editor/IEditorGraphics.h"
#include "effect/RoundHalfAway.h"
#include "plugbase/IParameter.h"
#include "plugbase/IPluginCore.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kOneOver360 = 0.002777777777777778;

}  // namespace

IKnobRotVal::IKnobRotVal(IPluginCore* plug, IPixelRect rect, int paramIndex, const ITextStyle& textStyle,
                         IImageStrip knobImage, int32_t centerX, int32_t centerY, int32_t textGap,
                         int32_t sweepDegrees, float imageWeight)
    : IKnobControl(plug, rect, paramIndex, 0, 4.0),
      valueTextStyle(textStyle),
      knobImage(knobImage),
      centerX(centerX),
      centerY(centerY),
      textGap(textGap),
      sweepDegrees(sweepDegrees),
      imageWeight(imageWeight),
      rotatedBlend(BlendNormal, 1.0f) {}

double IKnobRotVal::RingAngle(double v) const {
    const auto half = static_cast<float>(sweepDegrees * kPi * kOneOver360);
    const auto start = static_cast<float>(sweepDegrees * -kPi * kOneOver360);
    return static_cast<double>(half) * v * 2.0 + static_cast<double>(start);
}

float IKnobRotVal::RingSourceOffset(double v) {
    return static_cast<float>(-(std::fabs(v - 0.5) * 2.0));
}

bool IKnobRotVal::Paint(IEditorGraphics& graphics) {
    rotatedBlend = IBlend(BlendNormal, imageWeight);
    DrawValueText(graphics);

    const double v = value;
    const double angle = RingAngle(v);
    const float s = RingSourceOffset(v);
    if (knobImage.frames <= 1)
        return graphics.DrawRotatedImage(knobImage, centerX, centerY, angle, rotatedBlend, s, s);

    if (image.width == 0) {
        const int32_t half = RoundHalfAway(static_cast<float>(knobImage.width) * 0.5f);
        image = graphics.CropImage(knobImage, {0, 0, half, knobImage.height});
    }
    graphics.DrawRotatedImage(image, centerX, centerY, angle, rotatedBlend, s, s);

    const float frameWidth = static_cast<float>(knobImage.width) / static_cast<float>(knobImage.frames);
    const IPixelRect cap(RoundHalfAway(static_cast<float>(centerX) - frameWidth * 0.5f), rect.top,
                         RoundHalfAway(static_cast<float>(centerX) + frameWidth * 0.5f),
                         rect.bottom - textGap - valueTextStyle.size);
    return graphics.DrawImageFrame(knobImage, cap, knobImage.frames, blend, false);
}

bool IKnobRotVal::ValueText(char* out, size_t capacity) const {
    const IParameter* parameter = plug != nullptr ? plug->Parameter(paramIndex) : nullptr;
    if (parameter == nullptr || capacity == 0) return false;
    parameter->FormatForHost(parameter->PlainValue(), false, out, capacity);
    if (out[0] == '\0') return false;
    std::strncat(out, parameter->Label(), capacity - std::strlen(out) - 1);
    return true;
}

// Centred in the bottom `size` rows of the rectangle; the style stays centred from then on.
void IKnobRotVal::DrawValueText(IEditorGraphics& graphics) {
    char text[kValueTextBytes];
    if (valueTextStyle.size <= 0 || !ValueText(text, sizeof text)) return;
    valueTextStyle.align = ITextStyle::AlignCentre;
    graphics.DrawLabel(valueTextStyle, text,
                       {rect.left, rect.bottom - valueTextStyle.size, rect.right, rect.bottom});
}

void IKnobRotVal::MouseDrag(int x, int y, int dX, int dY, const IMouseKeys& keys) {
    (void)x;
    (void)y;
    double g = gearing;
    if (keys.control || keys.shift) g *= 10.0;
    if (direction == 0) {
        value += dY / static_cast<double>(rect.top - rect.bottom) / g;
    } else {
        value += dX / static_cast<double>(rect.right - rect.left) / g;
    }
    MarkDirty(true);
}
