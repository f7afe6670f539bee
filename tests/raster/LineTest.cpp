#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "raster/BlendMode.h"
#include "raster/DrawLine.h"
#include "raster/MemoryBitmap.h"
#include "tests/raster/RasterTestSupport.h"

namespace {

using Point = std::pair<int, int>;

std::set<Point> Touched(RasterBitmap& b, uint32_t background) {
    std::set<Point> out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (PixelAt(b, x, y) != background) out.insert({x, y});
    return out;
}

}  // namespace

// Clipping: lines crossing edges keep their in-bitmap part, lines outside draw nothing.
TEST(DrawLine, ClipsToTheBitmap) {
    MemoryBitmap b(5, 8, 4);
    Fill(b, 0);
    DrawLine(&b, -10, 5, 10, 5, 0xFFFFFFFF, 1.0f, BlendCopy, false);
    EXPECT_EQ(Touched(b, 0), (std::set<Point>{{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}}));

    Fill(b, 0);
    DrawLine(&b, 2, -100, 2, 100, 0xFFFFFFFF, 1.0f, BlendCopy, false);
    EXPECT_EQ(Touched(b, 0).size(), 8u);

    Fill(b, 0);
    DrawLine(&b, -5, -5, -1, 20, 0xFFFFFFFF, 1.0f, BlendCopy, true);
    DrawLine(&b, 5, 0, 9, 7, 0xFFFFFFFF, 1.0f, BlendCopy, true);
    DrawLine(&b, 0, 8, 4, 8, 0xFFFFFFFF, 1.0f, BlendCopy, true);
    DrawLine(&b, -2000000000, -2000000000, 2000000000, 1999999999, 0x1, 1.0f, BlendCopy, true);
    DrawLine(&b, 0, 0, 4, 4, 0xFFFFFFFF, 1.0f, 0xF0, false);  // unsupported rule
    DrawLine(nullptr, 0, 0, 4, 4, 0xFFFFFFFF, 1.0f, BlendCopy, false);
    for (auto p : Touched(b, 0))
        EXPECT_EQ(PixelAt(b, p.first, p.second), 0x1u);  // only the huge line may show

    int x1 = -10, y1 = 3, x2 = 10, y2 = 3;
    ASSERT_TRUE(ClipLine(x1, y1, x2, y2, 5, 8));
    EXPECT_EQ((std::vector<int>{x1, y1, x2, y2}), (std::vector<int>{0, 3, 4, 3}));
    x1 = 2, y1 = -4, x2 = 2, y2 = 20;
    ASSERT_TRUE(ClipLine(x1, y1, x2, y2, 5, 8));
    EXPECT_EQ((std::vector<int>{x1, y1, x2, y2}), (std::vector<int>{2, 0, 2, 7}));
}

TEST(DrawLine, PointAndFlippedRows) {
    FlippedBitmap b(4, 4);
    Fill(b, 0);
    DrawLine(&b, 1, 0, 1, 0, 0xAABBCCDD, 1.0f, BlendCopy, false);
    EXPECT_EQ(Touched(b, 0), (std::set<Point>{{1, 0}}));
    EXPECT_EQ(b.Bits()[3 * b.RowSpan() + 1], 0xAABBCCDDu);  // image row 0 is memory row 3
}

// Axis lines: the exact alphas use whole-word halves and quarters; an alpha that merely
// truncates to 128 averages per byte, which differs by one where the halves both drop a bit.
TEST(DrawLine, AxisLineWeights) {
    MemoryBitmap b(3, 1, 4);
    auto draw = [&](uint32_t p, uint32_t c, float alpha, int mode) {
        Fill(b, p);
        DrawLine(&b, 0, 0, 2, 0, c, alpha, mode, false);
        return PixelAt(b, 1, 0);
    };
    EXPECT_EQ(draw(0x01010101, 0x01010101, 0.5f, BlendCopy), 0x00000000u);
    EXPECT_EQ(draw(0x01010101, 0x01010101, 0.5001f, BlendCopy), 0x01010101u);
    EXPECT_EQ(draw(0x00000000, 0xFFFFFFFF, 0.25f, BlendCopy), 0x3F3F3F3Fu);
    EXPECT_EQ(draw(0x00000000, 0xFFFFFFFF, 0.75f, BlendCopy), 0xBEBEBEBEu);
    EXPECT_EQ(draw(0x00000000, 0xFFFFFFFF, 1.0f, BlendCopy), 0xFFFFFFFFu);
    EXPECT_EQ(draw(0x00000000, 0xC8FFFFFF, 0.3f, BlendCopy),
              0x3C4C4C4Cu);  // 76 / 256 of each byte, kept parts truncated
    EXPECT_EQ(draw(0xFF646464, 0x80C8C8C8, 1.0f, BlendAdd), 0xFFFFFFFFu);
    EXPECT_EQ(draw(0x11223344, 0x11223344, 0.0f, BlendAdd), 0x11223344u);
}

TEST(DrawLine, AntialiasedDiagonalSpreadsQuarters) {
    MemoryBitmap b(5, 5, 4);
    Fill(b, 0);
    DrawLine(&b, 0, 0, 3, 3, 0xFFFFFFFF, 1.0f, BlendCopy, true);
    std::set<Point> line{{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    std::set<Point> side{{1, 0}, {0, 1}, {2, 1}, {1, 2}, {3, 2}, {2, 3}};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            uint32_t expected = line.count({x, y}) ? 0xBEBEBEBE : side.count({x, y}) ? 0x3F3F3F3F : 0;
            EXPECT_EQ(PixelAt(b, x, y), expected) << x << "," << y;
        }
    Fill(b, 0);
    DrawLine(&b, 3, 3, 0, 0, 0xFFFFFFFF, 1.0f, BlendCopy, false);
    EXPECT_EQ(Touched(b, 0), line);
}

// General lines: E + 1 pixels, one per major-axis step, both ends included, and in the
// anti-aliased form the two pixels across the minor axis share the full colour.
TEST(DrawLine, GeneralLinesCoverEveryMajorStep) {
    struct Case {
        int x1, y1, x2, y2;
    };
    for (Case c :
         {Case{0, 0, 9, 3}, Case{9, 3, 0, 0}, Case{1, 8, 4, 0}, Case{0, 4, 7, 5}, Case{2, 0, 8, 9}}) {
        MemoryBitmap b(10, 10, 4);
        Fill(b, 0);
        DrawLine(&b, c.x1, c.y1, c.x2, c.y2, 0xFFFFFFFF, 1.0f, BlendCopy, false);
        auto pts = Touched(b, 0);
        const bool xMajor = std::abs(c.x2 - c.x1) > std::abs(c.y2 - c.y1);
        const int length = xMajor ? std::abs(c.x2 - c.x1) : std::abs(c.y2 - c.y1);
        EXPECT_EQ(static_cast<int>(pts.size()), length + 1);
        EXPECT_TRUE(pts.count({c.x1, c.y1}) && pts.count({c.x2, c.y2}));
        std::set<int> majors;
        for (auto p : pts) majors.insert(xMajor ? p.first : p.second);
        EXPECT_EQ(static_cast<int>(majors.size()), length + 1);

        // Anti-aliased in white over black: per major step the covered bytes sum to 255.
        Fill(b, 0);
        DrawLine(&b, c.x1, c.y1, c.x2, c.y2, 0xFFFFFFFF, 1.0f, BlendCopy, true);
        std::vector<int> sums(10, 0);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                sums[static_cast<size_t>(xMajor ? x : y)] += static_cast<int>(PixelAt(b, x, y) & 0xFF);
        const int from = xMajor ? std::min(c.x1, c.x2) : std::min(c.y1, c.y2);
        for (int m = from; m <= from + length; ++m)
            EXPECT_GE(sums[static_cast<size_t>(m)], 254) << "major " << m;
        EXPECT_EQ(PixelAt(b, c.x1, c.y1), 0xFFFFFFFFu);
    }
}

// Any alpha is well-defined integer arithmetic in every mode and line shape (the sanitizers
// check); a huge weight in add mode saturates the line pixels.
TEST(DrawLine, ExtremeWeightsStayDefined) {
    MemoryBitmap b(10, 10, 4);
    for (float alpha : {1e30f, -1e30f, 3e6f})
        for (int mode = 0; mode <= 5; ++mode)
            for (bool antialias : {false, true}) {
                FillPattern(b, 9);
                DrawLine(&b, 0, 0, 9, 3, 0xFF102030, alpha, mode, antialias);
                DrawLine(&b, 0, 0, 6, 6, 0xFF102030, alpha, mode, antialias);
                DrawLine(&b, 0, 8, 9, 8, 0xFF102030, alpha, mode, antialias);
            }
    Fill(b, 0);
    DrawLine(&b, 0, 8, 9, 8, 0xFF102030, 1e30f, BlendAdd, false);
    EXPECT_EQ(PixelAt(b, 4, 8), 0xFFFFFFFFu);
}
