#pragma once

#include <cstdint>
#include <vector>

#include "editor/IControl.h"
#include "editor/IImageStrip.h"
#include "editor/IPixelRect.h"

// A choice parameter shown as a row (or column) of buttons of which exactly one is lit. The
// unlit captions belong to the editor's background; the strip image holds the lit form of every
// button at its place, and only the selected button's piece of it is drawn. Button k stands for
// the value k / (N - 1).
class IRadioButtons : public IControl {
  public:
    static constexpr int kHorizontal = 1;

    // split: one image cut into the buttons (the only mode the effect uses); otherwise every
    // button is the whole image long. orientation kHorizontal runs left to right, anything else
    // top to bottom. size0..size2 are the lengths of the first three buttons, 0 for an equal
    // share; later buttons repeat the one before, and the last takes what remains.
    IRadioButtons(IPluginCore* plug, int paramIndex, int x, int y, IImageStrip strip, bool split,
                  int orientation, int size0, int size1, int size2);

    bool Paint(IEditorGraphics& graphics) override;
    // Right button: value prompt. Otherwise selects the button under the point (if any) and sends
    // the value either way.
    void MouseDown(int x, int y, const IMouseKeys& keys) override;

    int ButtonCount() const { return static_cast<int>(buttonRects.size()); }
    // Index of the button the value selects (round((N - 1) * value), within 0..N-1).
    int SelectedButton() const;

    std::vector<IPixelRect> buttonRects;
    IImageStrip stripImage;
    bool vertical;

  private:
    bool split_;
};
