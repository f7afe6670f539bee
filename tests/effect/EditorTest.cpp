// The effect's editor on its back buffer: layout, the value knobs, the radio strips, the pan bar
// and the links between controls, parameters and the host.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <stdexcept>
#include <vector>

#include "editor/IEditorGraphics.h"
#include "editor/IWebLinkControl.h"
#include "effect/GRAPH.h"
#include "effect/IKnobRotVal.h"
#include "effect/IRadioButtons.h"
#include "raster/DibBitmap.h"
#include "tests/effect/EngineProbe.h"

namespace {

constexpr double kPi = 3.141592653589793;

class Editor : public ::testing::Test {
  protected:
    Editor() { effect.Open(); }

    IEditorGraphics& View() { return *dynamic_cast<IEditorGraphics*>(effect.Editor()); }
    IControl* Control(int index) { return View().Control(index); }
    IKnobRotVal& Knob(int param) {
        for (int i = 0; i < View().ControlCount(); ++i) {
            auto* knob = dynamic_cast<IKnobRotVal*>(Control(i));
            if (knob != nullptr && knob->paramIndex == param) return *knob;
        }
        throw std::logic_error("no knob");
    }
    IRadioButtons& Strip(int index) { return *dynamic_cast<IRadioButtons*>(Control(index)); }

    // The host sets a plain value: the parameter, the engine and the bound controls follow.
    void HostSets(int index, double plain) { effect.ApplyParameterFromHost(index, plain, false); }
    void PaintAll() { View().PaintArea({0, 0, 480, 260}); }
    uint32_t Pixel(int x, int y) {
        DibBitmap* buffer = View().BackBuffer();
        return buffer->Bits()[y * buffer->RowSpan() + x];
    }
    // Columns of one row that show exactly the pan bar's colour.
    std::vector<int> BarColumns(int y) {
        std::vector<int> columns;
        for (int x = 0; x < 480; ++x)
            if (Pixel(x, y) == GRAPH::barColour.Packed()) columns.push_back(x);
        return columns;
    }

    void Press(int x, int y, IMouseKeys keys = {}) {
        keys.left = !keys.right;
        View().HandleMouseDown(x, y, keys);
    }
    void Release(int x, int y) { View().HandleMouseUp(x, y, {}); }

    FakeHost host;
    EngineProbe effect;
};

IMouseKeys Shift() {
    IMouseKeys keys;
    keys.shift = true;
    return keys;
}

}  // namespace

// The controls, their order, rectangles and parameters are what hosts, tests and the artwork
// were laid out for.
TEST_F(Editor, LayoutMatchesTheArtwork) {
    EXPECT_EQ(480, View().Width());
    EXPECT_EQ(260, View().Height());
    ASSERT_EQ(12, View().ControlCount());

    EXPECT_EQ(IPixelRect(0, 0, 480, 260), Control(0)->rect);
    EXPECT_EQ(effect.panDisplay, Control(1));
    EXPECT_EQ(IPixelRect(112, 227, 441, 237), Control(1)->rect);
    auto* link = dynamic_cast<IWebLinkControl*>(Control(2));
    ASSERT_NE(nullptr, link);
    EXPECT_EQ(IPixelRect(143, 7, 335, 54), link->rect);
    EXPECT_STRNE("", link->primaryAddress);
    EXPECT_STRNE("", link->fallbackAddress);
    EXPECT_STREQ("", link->caption);

    const int knobParams[] = {0, 1, 2, 4, 5, 8};
    for (int i = 0; i < 6; ++i) {
        auto* knob = dynamic_cast<IKnobRotVal*>(Control(3 + i));
        ASSERT_NE(nullptr, knob);
        const int centre = 60 + 72 * i;
        EXPECT_EQ(IPixelRect(centre - 25, 98, centre + 25, 164), knob->rect);
        EXPECT_EQ(knobParams[i], knob->paramIndex);
        EXPECT_EQ(centre, knob->centerX);
        EXPECT_EQ(119, knob->centerY);
    }

    EXPECT_EQ(IPixelRect(36, 195, 84, 223), Control(9)->rect);
    EXPECT_EQ(VSTCLASS::kShapeEnv, Control(9)->paramIndex);

    EXPECT_EQ(IPixelRect(106, 194, 236, 214), Strip(10).rect);
    EXPECT_EQ(VSTCLASS::kPanSide, Strip(10).paramIndex);
    const std::vector<IPixelRect> panSide = {
        {106, 194, 166, 214}, {166, 194, 196, 214}, {196, 194, 236, 214}};
    EXPECT_EQ(panSide, Strip(10).buttonRects);
    EXPECT_EQ(IPixelRect(256, 194, 446, 214), Strip(11).rect);
    EXPECT_EQ(VSTCLASS::kNoteOff, Strip(11).paramIndex);
    const std::vector<IPixelRect> noteOff = {
        {256, 194, 308, 214}, {308, 194, 376, 214}, {376, 194, 446, 214}};
    EXPECT_EQ(noteOff, Strip(11).buttonRects);
}

// The editor shows the parameters the host sees, and remembers them as double-click defaults.
TEST_F(Editor, ControlsStartAtTheParameterValues) {
    EXPECT_DOUBLE_EQ(500.0 / 8000.0, Knob(VSTCLASS::kAttack).value);
    EXPECT_DOUBLE_EQ(0.5, Knob(VSTCLASS::kPanOffset).value);
    EXPECT_DOUBLE_EQ(0.5, Strip(11).value);  // Note Off: ENV Decay
    Knob(VSTCLASS::kAttack).value = 0.9;
    View().HandleDoubleClick(60, 119, {});
    EXPECT_EQ(500.0, effect.Plain(VSTCLASS::kAttack));
}

// Value texts: the display text with its unit glued on; Pan Offset has no unit.
TEST_F(Editor, KnobValueTexts) {
    char text[IKnobRotVal::kValueTextBytes];
    ASSERT_TRUE(Knob(VSTCLASS::kAttack).ValueText(text, sizeof text));
    EXPECT_STREQ("500ms", text);
    effect.SetPlain(VSTCLASS::kPanOffset, -20);
    ASSERT_TRUE(Knob(VSTCLASS::kPanOffset).ValueText(text, sizeof text));
    EXPECT_STREQ("-20", text);
    effect.SetPlain(VSTCLASS::kPanWidth, 0);
    ASSERT_TRUE(Knob(VSTCLASS::kPanWidth).ValueText(text, sizeof text));
    EXPECT_STREQ("0%", text);
    effect.SetPlain(VSTCLASS::kSidesVolAmplify, 22);
    ASSERT_TRUE(Knob(VSTCLASS::kSidesVolAmplify).ValueText(text, sizeof text));
    EXPECT_STREQ("22dB", text);
    // A short buffer truncates instead of overrunning.
    char small[4];
    ASSERT_TRUE(Knob(VSTCLASS::kSidesVolAmplify).ValueText(small, sizeof small));
    EXPECT_STREQ("22d", small);
}

// The ring turns -150..+150 degrees, clockwise for rising values, sampled up to a pixel up-left at
// the ends.
TEST_F(Editor, KnobRingRotation) {
    const IKnobRotVal& knob = Knob(VSTCLASS::kAttack);
    EXPECT_NEAR(-150.0 * kPi / 180.0, knob.RingAngle(0.0), 1e-6);
    EXPECT_EQ(0.0, knob.RingAngle(0.5));
    EXPECT_NEAR(150.0 * kPi / 180.0, knob.RingAngle(1.0), 1e-6);
    EXPECT_EQ(-1.0f, IKnobRotVal::RingSourceOffset(0.0));
    EXPECT_EQ(0.0f, IKnobRotVal::RingSourceOffset(0.5));
    EXPECT_EQ(-1.0f, IKnobRotVal::RingSourceOffset(1.0));

    // The amber pointer sits where the angle says, outside the cap (radius 17 around the centre).
    const auto pointerIsAt = [&](double degrees) {
        const double a = degrees * kPi / 180.0;
        const uint32_t p = Pixel(static_cast<int>(std::lround(60 + 17 * std::sin(a))),
                                 static_cast<int>(std::lround(119 - 17 * std::cos(a))));
        return static_cast<int>((p >> 16) & 0xFF) - static_cast<int>(p & 0xFF) > 100;
    };
    HostSets(VSTCLASS::kAttack, 4000);
    PaintAll();
    EXPECT_TRUE(pointerIsAt(0));
    EXPECT_FALSE(pointerIsAt(-150));
    HostSets(VSTCLASS::kAttack, 0);
    PaintAll();
    EXPECT_TRUE(pointerIsAt(-150));
    EXPECT_FALSE(pointerIsAt(0));
    HostSets(VSTCLASS::kAttack, 8000);
    PaintAll();
    EXPECT_TRUE(pointerIsAt(150));
}

// Dragging: 66 pixels (the knob's height) times the gearing 4 is the whole range; shift is ten
// times finer; the gesture reaches the host as begin-edit, automation, end-edit.
TEST_F(Editor, KnobDragGearing) {
    host.calls.clear();
    Press(276, 119);  // Pan Width, 0.7
    View().HandleMouseDrag(276, 119 - 20, {});
    View().HandleMouseDrag(276, 119 - 66, {});
    Release(276, 119 - 66);
    EXPECT_NEAR(0.95, Knob(VSTCLASS::kPanWidth).value, 1e-12);
    EXPECT_EQ(95.0, effect.Plain(VSTCLASS::kPanWidth));
    ASSERT_FALSE(host.calls.empty());
    EXPECT_EQ(FakeHost::Kind::BeginEdit, host.calls.front().kind);
    EXPECT_EQ(FakeHost::Kind::EndEdit, host.calls.back().kind);
    EXPECT_EQ(FakeHost::Kind::Automate, host.calls[1].kind);
    EXPECT_EQ(VSTCLASS::kPanWidth, host.calls[1].index);

    Press(60, 119);  // Attack, 0.0625
    View().HandleMouseDrag(60, 119 + 66, Shift());
    Release(60, 119 + 66);
    EXPECT_NEAR(0.0625 - 0.025, Knob(VSTCLASS::kAttack).value, 1e-12);
    EXPECT_EQ(300.0, effect.Plain(VSTCLASS::kAttack));

    // Far beyond the travel the value stops at the end.
    Press(60, 119);
    View().HandleMouseDrag(60, 119 + 2000, {});
    Release(60, 119 + 2000);
    EXPECT_EQ(0.0, Knob(VSTCLASS::kAttack).value);
    EXPECT_EQ(0.0, effect.Plain(VSTCLASS::kAttack));
}

// Each point of a strip belongs to one button; a click selects it as one host gesture.
TEST_F(Editor, RadioHitTesting) {
    host.calls.clear();
    Press(170, 200);
    Release(170, 200);
    EXPECT_EQ(0.5, Strip(10).value);
    EXPECT_EQ(1.0, effect.Plain(VSTCLASS::kPanSide));  // Left
    ASSERT_EQ(3u, host.calls.size());
    EXPECT_EQ(FakeHost::Kind::BeginEdit, host.calls[0].kind);
    EXPECT_EQ(FakeHost::Kind::Automate, host.calls[1].kind);
    EXPECT_EQ(0.5f, host.calls[1].value);
    EXPECT_EQ(FakeHost::Kind::EndEdit, host.calls[2].kind);

    Press(235, 200);
    Release(235, 200);
    EXPECT_EQ(2.0, effect.Plain(VSTCLASS::kPanSide));  // Right
    EXPECT_EQ(0, View().ControlAt(236, 200));          // the background
    Press(236, 200);
    Release(236, 200);
    EXPECT_EQ(2.0, effect.Plain(VSTCLASS::kPanSide));

    Press(256, 213);
    Release(256, 213);
    EXPECT_EQ(0.0, effect.Plain(VSTCLASS::kNoteOff));
    Press(445, 194);
    Release(445, 194);
    EXPECT_EQ(2.0, effect.Plain(VSTCLASS::kNoteOff));
}

// Only the selected button's lit piece is drawn, at its place; the rest shows the face.
TEST_F(Editor, RadioPainting) {
    IRadioButtons& strip = Strip(11);
    strip.value = 0.74;
    EXPECT_EQ(1, strip.SelectedButton());
    strip.value = 0.75;
    EXPECT_EQ(2, strip.SelectedButton());
    strip.value = 0.2;
    EXPECT_EQ(0, strip.SelectedButton());

    const auto lit = [&](int x) {
        const uint32_t p = Pixel(x, 198);
        return ((p >> 16) & 0xFF) > 0xC0 && (p & 0xFF) < 0x60;  // amber
    };
    HostSets(VSTCLASS::kNoteOff, 2);
    PaintAll();
    EXPECT_FALSE(lit(282));
    EXPECT_FALSE(lit(342));
    EXPECT_TRUE(lit(411));
    EXPECT_TRUE(lit(378));
    EXPECT_TRUE(lit(443));
}

// The bar grows from column 276 to the pan position; the centre column belongs to either side.
TEST_F(Editor, PanBarColumns) {
    const auto columns = [&](float p) {
        effect.panDisplay->shownPan = p;
        ASSERT_TRUE(effect.panDisplay->NeedsRepaint());
        PaintAll();
    };
    const auto range = [](int first, int last) {
        std::vector<int> v;
        for (int x = first; x <= last; ++x) v.push_back(x);
        return v;
    };
    PaintAll();
    EXPECT_TRUE(BarColumns(230).empty());
    columns(0.5f);
    EXPECT_EQ(range(276, 358), BarColumns(230));
    EXPECT_EQ(range(276, 358), BarColumns(227));
    EXPECT_EQ(range(276, 358), BarColumns(236));
    EXPECT_TRUE(BarColumns(226).empty());
    EXPECT_TRUE(BarColumns(237).empty());
    columns(-1.0f);
    EXPECT_EQ(range(112, 276), BarColumns(230));
    columns(1.0f);
    EXPECT_EQ(range(276, 440), BarColumns(230));
    columns(std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(BarColumns(230).empty());
    columns(0.0f);
    EXPECT_TRUE(BarColumns(230).empty());
}

// Every processed block publishes its pan target to the bar.
TEST_F(Editor, AudioPublishesThePanTarget) {
    effect.SetPlain(VSTCLASS::kAttack, 0);
    effect.SetPlain(VSTCLASS::kHold, 1000);
    effect.Block(64);  // first block: the times at the sample rate
    effect.NoteOn();
    effect.Block(64);
    effect.Block(64);
    EXPECT_EQ(static_cast<float>(effect.panPosition), effect.panDisplay->shownPan);
    EXPECT_NEAR(0.7, effect.panDisplay->shownPan, 1e-6);  // hold, panned right by the width
}

// The width/offset rule moves the Pan Offset knob as if by hand: the knob shows the corrected
// value and reports it to the host inside one edit bracket.
TEST_F(Editor, WidthOffsetRuleMovesTheOffsetKnob) {
    IKnobRotVal& knob = Knob(VSTCLASS::kPanOffset);
    effect.SetPlain(VSTCLASS::kPanWidth, 80);
    PaintAll();
    PaintAll();  // a change shown by the parameter is painted twice
    ASSERT_FALSE(knob.NeedsRepaint());
    host.calls.clear();
    effect.SetPlain(VSTCLASS::kPanOffset, 50);
    EXPECT_DOUBLE_EQ(0.6, knob.value);  // 20 of -100..100
    EXPECT_TRUE(knob.NeedsRepaint());
    EXPECT_EQ(20.0, effect.Plain(VSTCLASS::kPanOffset));
    ASSERT_EQ(3u, host.calls.size());
    EXPECT_EQ(FakeHost::Kind::Automate, host.calls[1].kind);
    EXPECT_EQ(0.6f, host.calls[1].value);
}

// Wheel notches arrive one by one (a real mouse wheel, X11's wheel buttons). When they trip the
// width/offset rule, the correction must not end the pending wheel gesture early: every end edit
// the host sees has its begin, on the Width knob and on the Offset knob alike.
TEST_F(Editor, WheelNotchesThroughTheWidthOffsetRuleStayBracketed) {
    effect.SetPlain(VSTCLASS::kPanOffset, 50);
    effect.SetPlain(VSTCLASS::kPanWidth, 50);
    host.calls.clear();
    for (int param : {VSTCLASS::kPanWidth, VSTCLASS::kPanOffset}) {
        const IPixelRect& r = Knob(param).rect;
        for (int notch = 0; notch < 3; ++notch)
            View().HandleMouseWheel((r.left + r.right) / 2, (r.top + r.bottom) / 2, {}, 1);
    }
    effect.FlushPendingEndEdit();
    std::map<int32_t, int> open;
    for (const FakeHost::Call& call : host.calls) {
        if (call.kind == FakeHost::Kind::BeginEdit) ++open[call.index];
        if (call.kind != FakeHost::Kind::EndEdit) continue;
        ASSERT_GT(open[call.index], 0) << "end edit " << call.index << " without a begin";
        --open[call.index];
    }
    for (const auto& [index, depth] : open) EXPECT_EQ(0, depth) << "begin edit " << index;
    // The rule did act: the width went up and pulled the offset in, which then stayed at the limit.
    EXPECT_GT(effect.Plain(VSTCLASS::kPanWidth), 50.0);
    EXPECT_EQ(100.0 - effect.Plain(VSTCLASS::kPanWidth), effect.Plain(VSTCLASS::kPanOffset));
}

// Images are decoded once per process: a second instance shares the first one's bitmaps.
TEST_F(Editor, SecondInstanceSharesTheImages) {
    EngineProbe second;
    auto& other = *dynamic_cast<IEditorGraphics*>(second.Editor());
    EXPECT_EQ(View().LoadImageStrip(100, "img/bg.png", 1).bitmap,
              other.LoadImageStrip(100, "img/bg.png", 1).bitmap);
    const IImageStrip knob = other.LoadImageStrip(101, "img/knob.png", 2);
    ASSERT_NE(nullptr, knob.bitmap);
    EXPECT_EQ(84, knob.width);
    EXPECT_EQ(42, knob.height);
}
