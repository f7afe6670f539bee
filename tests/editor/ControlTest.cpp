// The control base and the stock controls: values in both directions, clamping, wheel steps,
// frames of bitmap strips, switches, greying, value prompts and the web link.
#include <cmath>
#include <cstring>
#include <string>

#include "editor/ISwitchControl.h"
#include "editor/IWebLinkControl.h"
#include "tests/editor/EditorFixture.h"

using ControlValues = EditorFixture;

// The parameter value present when the editor is built is what a double click restores.
TEST_F(ControlValues, FirstPushedValueBecomesTheDoubleClickDefault) {
    plugin->Parameter(0)->SetPlain(3);
    auto* knob = Add(new ProbeControl(plugin, IPixelRect(10, 10, 30, 30), 0));
    Attach();
    EXPECT_DOUBLE_EQ(knob->defaultValue, 0.6);
    effect->setParameter(effect, 0, 0.2f);
    EXPECT_NEAR(knob->value, 0.2, 1e-7);
    editor->HandleDoubleClick(20, 20, {});
    EXPECT_DOUBLE_EQ(knob->value, 0.6);
    EXPECT_DOUBLE_EQ(plugin->Parameter(0)->PlainValue(), 3.0);
    EXPECT_EQ(Gestures(), (std::vector<std::string>{"B0", "A0"}));
}

// A value the control already shows is not painted again, except the very first one.
TEST_F(ControlValues, RepeatedParameterValueDoesNotMarkDirty) {
    ProbeControl control(nullptr, IPixelRect(0, 0, 5, 5), 0);
    control.MarkClean();
    ASSERT_FALSE(control.NeedsRepaint());
    control.SetValueFromParameter(0.0);  // first value, equal to the initial one
    EXPECT_TRUE(control.dirty);
    EXPECT_TRUE(control.redraw);
    control.MarkClean();
    control.MarkClean();
    control.SetValueFromParameter(0.0);
    EXPECT_FALSE(control.NeedsRepaint());
    control.SetValueFromParameter(0.5);
    EXPECT_TRUE(control.NeedsRepaint());
}

TEST_F(ControlValues, UserValuesArePushedAndClamped) {
    auto* knob = Add(new ProbeControl(plugin, IPixelRect(10, 10, 30, 30), 3));
    Attach();
    knob->SetValueFromUser(1.5);
    EXPECT_DOUBLE_EQ(knob->value, 1.0);
    knob->SetValueFromUser(std::nan(""));
    EXPECT_DOUBLE_EQ(knob->value, 0.0);
    knob->clampLow = 0.25;
    knob->clampHigh = 0.5;
    knob->SetValueFromUser(0.1);
    EXPECT_DOUBLE_EQ(knob->value, 0.25);
    EXPECT_EQ(Gestures(), (std::vector<std::string>{"A3", "A3", "A3"}));
}

TEST_F(ControlValues, WheelStepsFineWithShiftOrControl) {
    ProbeControl control(nullptr, IPixelRect(0, 0, 5, 5));
    control.MouseWheel(0, 0, {}, 3);
    EXPECT_NEAR(control.value, 0.03, 1e-12);
    IMouseKeys shift;
    shift.shift = true;
    control.MouseWheel(0, 0, shift, -1);
    EXPECT_NEAR(control.value, 0.029, 1e-12);
    IMouseKeys ctrl;
    ctrl.control = true;
    control.MouseWheel(0, 0, ctrl, -100);
    EXPECT_DOUBLE_EQ(control.value, 0.0);
}

using StockControls = EditorFixture;

// A strip of five 48-pixel frames whose pixels carry their own column number.
static IImageStrip ColumnStrip() {
    static std::unique_ptr<MemoryBitmap> bitmap = [] {
        auto b = std::make_unique<MemoryBitmap>(240, 8, 4);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 240; ++x)
                b->Bits()[y * b->RowSpan() + x] = 0xFF000000u | static_cast<uint32_t>(x);
        return b;
    }();
    return IImageStrip{bitmap.get(), 240, 8, 5};
}

TEST_F(StockControls, FrameOffsetsFollowTheValue) {
    auto* bitmap = Add(new IBitmapControl(plugin, 10, 20, -1, ColumnStrip(), BlendReplace));
    EXPECT_EQ(bitmap->rect, IPixelRect(10, 20, 58, 28));
    Attach();
    const double values[] = {0.0, 0.3, 0.5, 0.65, 1.0, 7.0, -3.0};
    const uint32_t firstColumn[] = {0, 48, 96, 144, 192, 192, 0};
    for (int i = 0; i < 7; ++i) {
        bitmap->value = values[i];
        PaintAll();
        EXPECT_EQ(editor->Pixel(10, 20) & 0xFFFFFF, firstColumn[i]) << values[i];
        EXPECT_EQ(editor->Pixel(57, 27) & 0xFFFFFF, firstColumn[i] + 47) << values[i];
    }
    // Frame 3 of 5 on a 240-pixel strip starts at x = 96.
    editor->paintRect = IPixelRect(0, 0, kWidth, kHeight);
    editor->DrawImageFrame(bitmap->image, IPixelRect(0, 0, 48, 8), 3, IBlend(BlendReplace));
    EXPECT_EQ(editor->Pixel(0, 0) & 0xFFFFFF, 96u);
}

TEST_F(StockControls, SwitchStepsThroughFramesAndWraps) {
    auto* sw = Add(new ISwitchControl(plugin, 0, 0, 0, ColumnStrip(), BlendReplace));
    Attach();
    const double expected[] = {0.25, 0.5, 0.75, 1.0, 0.0, 0.25};
    for (double e : expected) {
        editor->HandleMouseDown(5, 5, {});
        editor->HandleMouseUp(5, 5, {});
        EXPECT_NEAR(sw->value, e, 1e-12);
    }
    // Each click is one gesture on the bound parameter.
    EXPECT_EQ(Gestures().size(), 18u);
    EXPECT_EQ(Gestures()[0], "B0");
    EXPECT_EQ(Gestures()[2], "E0");
}

TEST_F(StockControls, GreyingSetsTheWeightAndHidesFromTheMouse) {
    auto* knob = Add(new ProbeControl(plugin, IPixelRect(10, 10, 30, 30), 3));
    Attach();
    knob->SetGreyed(true);
    EXPECT_FLOAT_EQ(knob->blend.weight, 0.25f);
    EXPECT_EQ(editor->ControlAt(20, 20), 0);
    knob->SetGreyed(false);
    EXPECT_FLOAT_EQ(knob->blend.weight, 1.0f);
    EXPECT_EQ(editor->ControlAt(20, 20), 1);
}

// Value popups are asked for by bound controls only; closing one pushes the value again.
TEST_F(StockControls, RightClickPromptsOnlyForBoundControls) {
    auto* bound = Add(new ProbeControl(plugin, IPixelRect(0, 0, 10, 10), 1));
    auto* unbound = Add(new ProbeControl(plugin, IPixelRect(10, 0, 20, 10)));
    auto* disabled = Add(new ProbeControl(plugin, IPixelRect(20, 0, 30, 10), 2));
    disabled->promptDisabled = true;
    Attach();
    IMouseKeys right;
    right.right = true;
    for (int x : {5, 15, 25}) {
        editor->HandleMouseDown(x, 5, right);
        editor->HandleMouseUp(x, 5, right);
    }
    ASSERT_EQ(editor->prompts.size(), 1u);
    EXPECT_EQ(editor->prompts[0].control, bound);
    EXPECT_EQ(editor->prompts[0].parameter, plugin->Parameter(1));
    EXPECT_TRUE(bound->redraw);
    EXPECT_TRUE(unbound->calls.size() == 2 && disabled->calls.size() == 2);
    host.calls.clear();
    bound->PromptClosed();
    EXPECT_EQ(Gestures(), (std::vector<std::string>{"A1"}));
}

// The logo area opens the primary address, the fallback only when that fails, and never shows a
// message; any button does it.
TEST_F(StockControls, WebLinkTriesPrimaryThenFallback) {
    Add(new IWebLinkControl(plugin, IPixelRect(0, 0, 20, 20), "https://primary.example",
                            "https://fallback.example", "Maker"));
    Attach();
    editor->webAnswer = true;
    editor->HandleMouseDown(5, 5, {});
    EXPECT_EQ(editor->webAddresses, (std::vector<std::string>{"https://primary.example"}));
    editor->webAnswer = false;
    IMouseKeys right;
    right.right = true;
    editor->HandleMouseDown(5, 5, right);
    EXPECT_EQ(editor->webAddresses.size(), 3u);
    EXPECT_EQ(editor->webAddresses[2], "https://fallback.example");
    EXPECT_EQ(editor->messageBoxes, 0);
    EXPECT_TRUE(editor->prompts.empty());
    EXPECT_TRUE(Gestures().empty());
}

TEST(WebLinkTexts, LongTextsAreTruncatedAndMissingOnesStayEmpty) {
    const std::string longAddress(400, 'a');
    IWebLinkControl link(nullptr, IPixelRect(0, 0, 1, 1), longAddress.c_str(), nullptr, "");
    EXPECT_EQ(std::strlen(link.primaryAddress), 255u);
    EXPECT_EQ(link.fallbackAddress[0], '\0');
    EXPECT_EQ(link.caption[0], '\0');
    EXPECT_EQ(link.paramIndex, -1);
}
