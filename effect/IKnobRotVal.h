#pragma once

#include <cstddef>
#include <cstdint>

#include "editor/IBlend.h"
#include "editor/IImageStrip.h"
#include "editor/IKnobControl.h"
#include "editor/ITextStyle.h"

// Rotary knob that prints its value: a ring image turned to show the value, a fixed cap drawn
// over it, and the parameter's display text with its unit underneath. Dragging up raises the
// value; a drag across the rectangle's height times the gearing covers the whole range.
//
// The knob image is a strip whose first frame is the ring (with its pointer at the top) and whose
// last frame is the cap; a one-frame image is drawn rotated whole, with no cap. The ring is
// cropped from the strip once, on the first paint, and kept by the image cache (in `image`).
class IKnobRotVal : public IKnobControl {
  public:
    IKnobRotVal(IPluginCore* plug, IPixelRect rect, int paramIndex, const ITextStyle& textStyle,
                IImageStrip knobImage, int32_t centerX, int32_t centerY, int32_t textGap,
                int32_t sweepDegrees, float imageWeight);

    bool Paint(IEditorGraphics& graphics) override;
    // Vertical (direction 0) or horizontal drag; control or shift makes it ten times finer.
    void MouseDrag(int x, int y, int dX, int dY, const IMouseKeys& keys) override;

    // Room for a display text and a label (each at most 31 characters) with the terminator.
    static constexpr size_t kValueTextBytes = 64;

    // The bound parameter's display text with its label right after it ("500ms"; Pan Offset,
    // which has no label, shows just the number). False, with nothing to draw, without a
    // parameter or for an empty text.
    bool ValueText(char* out, size_t capacity) const;
    // The ring's rotation in radians for a value: -sweep/2 at 0, upright at 0.5, +sweep/2 at 1
    // (clockwise on screen).
    double RingAngle(double v) const;
    // Source origin of the rotated ring: 0 at mid-travel, -1 at either end.
    static float RingSourceOffset(double v);

    ITextStyle valueTextStyle;
    IImageStrip knobImage;
    int32_t centerX;
    int32_t centerY;
    int32_t textGap;
    int32_t sweepDegrees;
    float imageWeight;
    IBlend rotatedBlend;

  private:
    void DrawValueText(IEditorGraphics& graphics);
};
