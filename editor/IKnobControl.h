#pragma once

#include "editor/IControl.h"

// Base of knobs: which way dragging turns them and how far.
class IKnobControl : public IControl {
  public:
    IKnobControl(IPluginCore* plug, IPixelRect rect, int paramIndex, int32_t direction = 0,
                 double gearing = 4.0, int32_t blendMethod = BlendNormal)
        : IControl(plug, rect, paramIndex, blendMethod), direction(direction), gearing(gearing) {}

    // 0: dragging up and down changes the value; otherwise left and right.
    int32_t direction;
    // A drag across the whole height (or width) changes the value by 1 / gearing.
    double gearing;
};
