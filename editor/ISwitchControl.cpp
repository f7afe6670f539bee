#include "editor/ISwitchControl.h"

void ISwitchControl::MouseDown(int, int, const IMouseKeys& keys) {
    if (keys.right)
        PromptForValue();
    else
        value += image.frames < 2 ? 1.0 : 1.0 / (image.frames - 1);
    if (!(value <= 1.001)) value = 0.0;  // wraps from the last frame to the first
    MarkDirty(true);
}
