// A small effect with an editor, for driving editor windows and `vsthost editor` in tests: a
// plain background and three bars, each bound to one parameter —
//   0 "Level"  Continuous 0..100 "%" (default 25): edit-box popup
//   1 "Side"   Choice of "Alternate", "Left", "Right": drop-down popup
//   2 "Steps"  Integer 0..4 with value texts "none".."four": edit-box popup showing the text
// A bar shows its value as a filled part of its rectangle; dragging moves it by (dX - dY) / 200,
// the wheel and double-click behave as the base control's, and every key it receives is recorded.
#pragma once

#include <vector>

#include "editor/IControl.h"
#include "editor/IEditorGraphics.h"
#include "plugbase/IPluginCore.h"

class TestBarControl : public IControl {
  public:
    TestBarControl(IPluginCore* plug, IPixelRect rect, int paramIndex, IArgb colour);
    bool Paint(IEditorGraphics& graphics) override;
    void MouseDrag(int x, int y, int dX, int dY, const IMouseKeys& keys) override;
    void KeyDown(int x, int y, int key) override;

    IArgb colour;
    std::vector<int> keys;  // every key code received, in order
};

// Plain fill of the whole editor, drawn first.
class TestBackgroundControl : public IControl {
  public:
    TestBackgroundControl(IPluginCore* plug, IPixelRect rect, IArgb colour);
    bool Paint(IEditorGraphics& graphics) override;
    IArgb colour;
};

class TestEditorEffect : public IPluginCore {
  public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 120;
    static constexpr IArgb kBackground{255, 40, 44, 52};
    static constexpr IArgb kTrack{255, 90, 90, 90};
    static constexpr IArgb kBarColours[3] = {{255, 230, 160, 40}, {255, 60, 170, 230}, {255, 120, 210, 90}};
    // Bar i covers (20, 20 + 30 i) .. (220, 40 + 30 i).
    static IPixelRect BarRect(int i) { return {20, 20 + 30 * i, 220, 40 + 30 * i}; }

    // instance: the module handle the editor window registers its class with.
    explicit TestEditorEffect(void* instance);
    static const PluginDescriptor& Identity();

    IEditorGraphics* EditorGraphics() const { return static_cast<IEditorGraphics*>(Editor()); }
    TestBarControl* Bar(int i) const;
};
