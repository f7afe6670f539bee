// The editor's value types: rectangle intersection and union (only the all-zero rectangle is
// empty), colour packing and the raster mode word of each blend method.
#include <gtest/gtest.h>

#include "editor/IArgb.h"
#include "editor/IBlend.h"
#include "editor/IPixelRect.h"

TEST(PixelRect, IntersectionNeedsTwoOverlappingNonEmptyRectangles) {
    const IPixelRect a(0, 0, 10, 10), b(5, 5, 20, 20);
    EXPECT_EQ(a.Intersect(b), IPixelRect(5, 5, 10, 10));
    EXPECT_EQ(a.Intersect(IPixelRect(10, 0, 20, 10)), IPixelRect());  // touching edges share nothing
    EXPECT_EQ(a.Intersect(IPixelRect()), IPixelRect());
    EXPECT_EQ(IPixelRect().Intersect(a), IPixelRect());
    // A zero-width rectangle inside passes the overlap rule and stays zero wide.
    EXPECT_EQ(a.Intersect(IPixelRect(3, 3, 3, 8)), IPixelRect(3, 3, 3, 8));
    EXPECT_EQ(IPixelRect(-5, -5, 5, 5).Intersect(a), IPixelRect(0, 0, 5, 5));
}

TEST(PixelRect, UnionIgnoresOnlyTheAllZeroRectangle) {
    const IPixelRect a(2, 3, 4, 5);
    EXPECT_EQ(a.Union(IPixelRect()), a);
    EXPECT_EQ(IPixelRect().Union(a), a);
    EXPECT_EQ(a.Union(IPixelRect(10, 0, 11, 1)), IPixelRect(2, 0, 11, 5));
    // A degenerate rectangle away from the origin is not empty and still widens the union.
    EXPECT_EQ(a.Union(IPixelRect(20, 20, 20, 20)), IPixelRect(2, 3, 20, 20));
    EXPECT_FALSE(IPixelRect(0, 0, 0, 1).IsEmpty());
    EXPECT_EQ(IPixelRect(INT32_MIN, 0, INT32_MAX, 1).Width(), int64_t{UINT32_MAX});
}

TEST(Argb, PacksMaskedChannels) {
    EXPECT_EQ(IArgb().Packed(), 0xFF000000u);
    EXPECT_EQ(IArgb(0x80, 0x12, 0x34, 0x56).Packed(), 0x80123456u);
    EXPECT_EQ(IArgb(0x1FF, -1, 0x100, 7).Packed(), 0xFFFF0007u);
}

TEST(Blend, MethodsSelectTheirModeWords) {
    EXPECT_EQ(IBlend().ModeWord(), 0x10000);
    EXPECT_FLOAT_EQ(IBlend().weight, 1.0f);
    EXPECT_EQ(IBlend(BlendReplace).ModeWord(), 0);
    EXPECT_EQ(IBlend(BlendAdditive).ModeWord(), 0x10001);
    EXPECT_EQ(IBlend(BlendColourDodge).ModeWord(), 0x10002);
    EXPECT_EQ(IBlend(17).ModeWord(), 0x10000);
    EXPECT_EQ(IBlend(-1).ModeWord(), 0x10000);
}
