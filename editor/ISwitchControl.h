#pragma once

#include "editor/IBitmapControl.h"

// A bitmap control that steps to its next frame on each click and wraps from the last to the
// first; a right click prompts for the value instead.
class ISwitchControl : public IBitmapControl {
  public:
    using IBitmapControl::IBitmapControl;

    void MouseDown(int x, int y, const IMouseKeys& keys) override;
};
