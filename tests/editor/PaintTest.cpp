// Repaint tracking and painting: the dirty/redraw cycle, the union of dirty rectangles, strict
// painting clipped to the area, the non-strict mode and the bounds overlay.
#include "tests/editor/EditorFixture.h"

class Painting : public EditorFixture {
  protected:
    static constexpr int kRedId = 901;
    static constexpr int kBlueId = 902;
    static constexpr uint32_t kRed = 0xFFFF0000;
    static constexpr uint32_t kBlue = 0xFF0000FF;
    static constexpr uint32_t kSentinel = 0xDEADBEEF;

    Painting() {
        HeadlessEditor::DefineImage(kRedId, {40, 40, kRed});
        HeadlessEditor::DefineImage(kBlueId, {20, 20, kBlue});
        red = Add(
            new CountingBitmap(plugin, 10, 10, 0, editor->LoadImageStrip(kRedId, "red", 1), BlendReplace));
        blue = Add(
            new CountingBitmap(plugin, 40, 40, 1, editor->LoadImageStrip(kBlueId, "blue", 1), BlendReplace));
        Attach();
    }
    void FillBackBuffer(uint32_t colour) {
        DibBitmap* b = editor->BackBuffer();
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x) b->Bits()[y * b->RowSpan() + x] = colour;
    }
    // Ticks until nothing is dirty any more; answers the number of repaints.
    int Settle() {
        int repaints = 0;
        IPixelRect area;
        while (editor->CollectDirty(area) && repaints < 10) {
            editor->PaintArea(area);
            ++repaints;
        }
        return repaints;
    }

    CountingBitmap* red;
    CountingBitmap* blue;
};

// A pushed value paints twice (dirty, then redraw), then rests.
TEST_F(Painting, DirtyRedrawCycle) {
    Settle();
    red->paints = 0;
    IPixelRect area;
    EXPECT_FALSE(editor->CollectDirty(area));
    effect->setParameter(effect, 0, 0.4f);
    EXPECT_EQ(Settle(), 2);
    EXPECT_EQ(red->paints, 2);
    red->MarkDirty(false);  // no redraw: one paint
    EXPECT_EQ(Settle(), 1);
}

TEST_F(Painting, CollectDirtyUnitesRectanglesOfHiddenControlsToo) {
    Settle();
    IPixelRect area;
    blue->SetHidden(true);
    red->MarkDirty(false);
    ASSERT_TRUE(editor->CollectDirty(area));
    EXPECT_EQ(area, IPixelRect(10, 10, 60, 60));
    // The hidden control is not painted, but what lies beneath it is, and its flags clear.
    FillBackBuffer(kSentinel);
    blue->paints = 0;
    Settle();
    EXPECT_EQ(blue->paints, 0);
    EXPECT_EQ(editor->Pixel(55, 55), kGrey);
    EXPECT_EQ(editor->Pixel(45, 45), kRed);
    EXPECT_FALSE(blue->NeedsRepaint());
}

// Strict painting touches only the area: blits are clipped to it, controls outside it are not
// painted, and every control is cleaned.
TEST_F(Painting, StrictPaintIsClippedToTheArea) {
    Settle();
    FillBackBuffer(kSentinel);
    editor->MarkAllDirty();
    blue->paints = 0;
    editor->PaintArea(IPixelRect(20, 20, 45, 30));
    EXPECT_EQ(blue->paints, 0);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool inside = x >= 20 && x < 45 && y >= 20 && y < 30;
            const uint32_t expected = !inside ? kSentinel : (x < 50 && y < 50) ? kRed : kGrey;
            ASSERT_EQ(editor->Pixel(x, y), expected) << x << "," << y;
        }
    }
    for (int i = 0; i < editor->ControlCount(); ++i) EXPECT_FALSE(editor->Control(i)->NeedsRepaint());
    EXPECT_EQ(editor->presented.back(), IPixelRect(20, 20, 45, 30));
    // The overlapping part of both controls comes out in list order.
    editor->PaintArea(IPixelRect(35, 35, 60, 60));
    EXPECT_EQ(editor->Pixel(45, 45), kBlue);
    EXPECT_EQ(editor->Pixel(38, 38), kRed);
}

TEST_F(Painting, EmptyEditorNeitherPaintsNorPresents) {
    editor->SetSize(kWidth, kHeight);
    editor->presented.clear();
    EXPECT_TRUE(editor->PaintArea(IPixelRect(0, 0, 10, 10)));
    EXPECT_TRUE(editor->presented.empty());
}

// Non-strict painting repaints each dirty control's own rectangle with what overlaps it.
TEST_F(Painting, NonStrictRepaintsEachDirtyControl) {
    Settle();
    editor->strictPaint = false;
    FillBackBuffer(kSentinel);
    blue->MarkDirty(false);
    red->paints = blue->paints = 0;
    editor->PaintArea(IPixelRect(0, 0, 1, 1));
    EXPECT_EQ(blue->paints, 1);
    EXPECT_EQ(red->paints, 1);
    EXPECT_EQ(editor->Pixel(45, 45), kBlue);
    EXPECT_EQ(editor->Pixel(30, 30), kSentinel);  // outside the blue rectangle
    EXPECT_FALSE(blue->NeedsRepaint());
}

TEST_F(Painting, BoundsOverlayOutlinesControlsAndRepaintsTheLastArea) {
    Settle();
    editor->showBounds = true;
    editor->PaintArea(IPixelRect(0, 0, kWidth, kHeight));
    EXPECT_EQ(editor->Pixel(10, 10), 0xFF00FF00u);
    EXPECT_EQ(editor->Pixel(30, 10), 0xFF00FF00u);
    EXPECT_EQ(editor->Pixel(0, 0), kGrey);  // the background gets no outline
    IPixelRect area;
    EXPECT_TRUE(editor->CollectDirty(area));
    EXPECT_EQ(area, IPixelRect(0, 0, kWidth, kHeight));
}

TEST_F(Painting, MarkAllDirtyRepaintsEverything) {
    Settle();
    editor->MarkAllDirty();
    IPixelRect area;
    ASSERT_TRUE(editor->CollectDirty(area));
    EXPECT_EQ(area, IPixelRect(0, 0, kWidth, kHeight));
}
