#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "raster/Blit.h"
#include "raster/BlendMode.h"
#include "raster/Blur.h"
#include "raster/MemoryBitmap.h"
#include "raster/PortableSinCos.h"
#include "raster/RotatedBlit.h"
#include "tests/raster/RasterTestSupport.h"

namespace {

// Destination pixel (x, y) after a plain copy of src placed with its pixel (0, 0) at (ox, oy),
// where only source pixels inside [sl, sr) x [st, sb) are drawn.
void ExpectPlacedCopy(RasterBitmap& d, const std::vector<uint32_t>& before, RasterBitmap& s, int ox, int oy,
                      int sl, int st, int sr, int sb) {
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x) {
            int sx = x - ox, sy = y - oy;
            bool inside = sx >= sl && sx < sr && sy >= st && sy < sb;
            uint32_t expected = inside ? PixelAt(s, sx, sy) : before[static_cast<size_t>(y * d.Width() + x)];
            ASSERT_EQ(PixelAt(d, x, y), expected) << "at " << x << "," << y;
        }
}

}  // namespace

// Blit clipping: source rectangle outside the source, destination beyond every edge, flipped
// bitmaps on either side.
TEST(BlitClipping, NegativeSourceRectMovesTheDestination) {
    MemoryBitmap s(10, 10, 4), d(20, 10, 4);
    FillPattern(s, 5);
    Fill(d, 0);
    BlitSourceRect r{-5, 0, 10, 10};
    Blit(&d, &s, 0, 0, &r, 1.0f, BlendCopy);
    ExpectPlacedCopy(d, std::vector<uint32_t>(200, 0), s, 5, 0, 0, 0, 10, 10);
}

TEST(BlitClipping, ClipsAtEveryEdgeInBothOrientations) {
    struct Case {
        int x, y;
    };
    for (bool flipSrc : {false, true})
        for (bool flipDst : {false, true})
            for (Case c : {Case{-3, 2}, Case{2, -4}, Case{5, 4}, Case{-6, -6}, Case{7, 0}, Case{0, 6}}) {
                MemoryBitmap ms(6, 5, 4), md(8, 7, 4);
                FlippedBitmap fs(6, 5), fd(8, 7);
                RasterBitmap& s = flipSrc ? static_cast<RasterBitmap&>(fs) : ms;
                RasterBitmap& d = flipDst ? static_cast<RasterBitmap&>(fd) : md;
                FillPattern(s, 11);
                FillPattern(d, 12);
                auto before = Snapshot(d);
                Blit(&d, &s, c.x, c.y, nullptr, 1.0f, BlendCopy);
                ExpectPlacedCopy(d, before, s, c.x, c.y, 0, 0, 6, 5);
                // The same through a sub-rectangle and the per-pixel path.
                FillPattern(d, 12);
                BlitRect(&d, &s, c.x, c.y, 1, 1, 4, 3, 1.0f, BlendCopy | BlendUseSourceAlpha);
                for (int y = 0; y < 7; ++y)
                    for (int x = 0; x < 8; ++x) {
                        int sx = x - c.x + 1, sy = y - c.y + 1;
                        bool inside = sx >= 1 && sx < 5 && sy >= 1 && sy < 4;
                        if (!inside) {
                            ASSERT_EQ(PixelAt(d, x, y), before[static_cast<size_t>(y * 8 + x)]);
                        }
                    }
            }
}

TEST(BlitClipping, NullAndEmptyInputsDrawNothing) {
    MemoryBitmap d(4, 4, 4), s(4, 4, 4), empty(0, 0, 4);
    FillPattern(d, 1);
    auto before = Snapshot(d);
    Blit(&d, nullptr, 0, 0, nullptr, 1.0f, 0);
    Blit(nullptr, &s, 0, 0, nullptr, 1.0f, 0);
    Blit(&d, &empty, 0, 0, nullptr, 1.0f, 0);
    Blit(&d, &s, 4, 0, nullptr, 1.0f, 0);
    Blit(&d, &s, 0, -4, nullptr, 1.0f, 0);
    Blit(&d, &s, 0x7FFFFFF0, 0x7FFFFFF0, nullptr, 1.0f, 0);
    BlitRect(&d, &s, -0x7FFFFFF0, 0, 0, 0, 0x7FFFFFFF, 4, 1.0f, 0);
    BlitSourceRect inverted{3, 3, 1, 1};
    Blit(&d, &s, 0, 0, &inverted, 1.0f, 0);
    EXPECT_EQ(Snapshot(d), before);
}

// Rotation: angle 0 reproduces the source, a quarter turn runs the top edge down the right
// side, a negative width mirrors, and clipping keeps to the destination.
TEST(RotatedBlit, AngleZeroBilinearIsAnExactCopy) {
    MemoryBitmap s(7, 5, 4), d(7, 5, 4);
    FillPattern(s, 21);
    Fill(d, 0);
    RotatedBlit(&d, &s, 0, 0, 7, 5, 0, 0, 7, 5, 0.0f, false, 1.0f, BlendFilterBilinear, 0, 0);
    EXPECT_EQ(Snapshot(d), Snapshot(s));
    Fill(d, 0);
    RotatedBlit(&d, &s, 0, 0, 7, 5, 0, 0, 7, 5, 0.0f, false, 1.0f, BlendCopy, 0, 0);
    EXPECT_EQ(Snapshot(d), Snapshot(s));
    // Flipped on both sides, from a sub-rectangle.
    FlippedBitmap fs(7, 5), fd(4, 3);
    FillPattern(fs, 22);
    Fill(fd, 0);
    RotatedBlit(&fd, &fs, 0, 0, 4, 3, 2, 1, 4, 3, 0.0f, true, 1.0f, BlendFilterBilinear, 0, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(PixelAt(fd, x, y), PixelAt(fs, x + 2, y + 1)) << x << "," << y;
}

// Sample points sit on whole source positions, so a walk that runs backwards starts on the
// source's far edge and the picture lands up to one pixel from the ideal place (exactly where
// depends on the last bits of the angle's sine and cosine).
TEST(RotatedBlit, QuarterTurnIsClockwise) {
    const int n = 8;
    MemoryBitmap s(n, n, 4), d(n, n, 4);
    FillPattern(s, 31);
    Fill(d, 0);
    RotatedBlit(&d, &s, 0, 0, n, n, 0, 0, n, n, 1.5707963f, false, 1.0f, BlendCopy, 0, 0);
    // The top edge runs down the right-hand side and the left edge along the top: source
    // (x, y) shows near destination (n - 1 - y, x).
    for (int y = 1; y < n - 1; ++y)
        for (int x = 1; x < n - 1; ++x) {
            bool found = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    found |= PixelAt(d, n - 1 - y + dx, x + dy) == PixelAt(s, x, y);
            EXPECT_TRUE(found) << "source " << x << "," << y;
        }
}

TEST(RotatedBlit, NegativeWidthMirrors) {
    MemoryBitmap s(6, 3, 4), d(6, 3, 4);
    FillPattern(s, 41);
    for (int mode : {0, int(BlendFilterBilinear)}) {
        Fill(d, 0);
        RotatedBlit(&d, &s, 6, 0, -6, 3, 0, 0, 6, 3, 0.0f, false, 1.0f, mode, 0, 0);
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(PixelAt(d, 0, y), 0u);
            for (int x = 1; x < 6; ++x)
                ASSERT_EQ(PixelAt(d, x, y), PixelAt(s, 6 - x, y))
                    << "mode " << mode << " at " << x << "," << y;
        }
    }
}

TEST(RotatedBlit, ClipsToDestinationAndSourceRect) {
    MemoryBitmap s(8, 8, 4), d(6, 6, 4);
    FillPattern(s, 51);
    FillPattern(d, 52);
    auto before = Snapshot(d);
    // Shifted up-left by 3: destination (x, y) shows source (x + 3, y + 3).
    RotatedBlit(&d, &s, -3, -3, 8, 8, 0, 0, 8, 8, 0.0f, false, 1.0f, 0, 0, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) ASSERT_EQ(PixelAt(d, x, y), PixelAt(s, x + 3, y + 3));
    // clipToSourceRect: the centre offset moves the walk to source (0..3, 0..3), of which only
    // the part inside the source rectangle (2..5, 2..5) is drawn.
    FillPattern(d, 52);
    RotatedBlit(&d, &s, 2, 2, 4, 4, 2, 2, 4, 4, 0.0f, true, 1.0f, 0, -2, -2);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            bool sampled = x >= 4 && y >= 4;
            ASSERT_EQ(PixelAt(d, x, y),
                      sampled ? PixelAt(s, x - 2, y - 2) : before[static_cast<size_t>(y * 6 + x)])
                << x << "," << y;
        }
    FillPattern(d, 52);
    RotatedBlit(&d, &s, 0, 0, 0, 6, 0, 0, 8, 8, 0.0f, false, 1.0f, 0, 0, 0);
    RotatedBlit(&d, &s, 0, 0, 6, 6, 0, 0, 8, 8, 0.0f, false, 0.0f, 0, 0, 0);
    RotatedBlit(&d, &s, 0, 0, 6, 6, 0, 0, 8, 8, 0.0f, false, 1.0f, 0x07, 0, 0);
    RotatedBlit(&d, &s, 0, 0, 6, 6, 0, 0, 8, 8, 0.0f, false, 1.0f, 0xF3, 0, 0);  // no channel copy here
    RotatedBlit(&d, &s, 0, 0, 6, 6, 1e30f, -1e30f, 1e30f, 1e30f, 1e30f, true, 1.0f, 0, 1e30f, 0);
    EXPECT_EQ(Snapshot(d), before);
}

// The start position is computed in double precision: a 293-pixel row shrunk to 275 pixels starts
// on source column 0. With the destination-size products in single precision the start fell a
// fraction of a step left of the source and destination pixel 0 stayed unpainted.
TEST(RotatedBlit, ShrinkStartsOnTheFirstColumn) {
    MemoryBitmap s(293, 1, 4), d(275, 1, 4);
    FillPattern(s, 31);
    Fill(d, 0x12345678);
    RotatedBlit(&d, &s, 0, 0, 275, 1, 0, 0, 293, 1, 0.0f, false, 1.0f, BlendCopy, 0, 0);
    EXPECT_EQ(PixelAt(d, 0, 0), PixelAt(s, 0, 0));
}

// Bilinear between two pixels at a half step averages with truncation.
TEST(RotatedBlit, BilinearInterpolatesLastRow) {
    MemoryBitmap s(2, 1, 4), d(3, 1, 4);
    s.Bits()[0] = 0x00000000, s.Bits()[1] = 0xFFFFFFFF;
    Fill(d, 0x12345678);
    // 3 destination pixels over 1.5 source pixels: positions 0, 0.5, 1.
    RotatedBlit(&d, &s, 0, 0, 3, 1, 0, 0, 1.5f, 1, 0.0f, false, 1.0f, BlendFilterBilinear, 0, 0);
    EXPECT_EQ(d.Bits()[0], 0x00000000u);
    EXPECT_EQ(d.Bits()[1], 0x7F7F7F7Fu);
    EXPECT_EQ(d.Bits()[2], 0xFFFFFFFFu);
}

// Bilinear sampling against a plain formula: a scaled copy at angle 0 walks the source in steps
// of trunc(scale * 65536), and every sample (interior, last row, last column, corner) must equal the
// four-tap weighted sum of that position, in every blend rule's straight form and with source alpha.
namespace {

uint32_t ReferenceBilinear(RasterBitmap& s, long long u, long long v) {
    const int x = static_cast<int>(u >> 16), y = static_cast<int>(v >> 16);
    const uint32_t fx = static_cast<uint32_t>(u & 0xFFFF), fy = static_cast<uint32_t>(v & 0xFFFF);
    const int x1 = x + 1 < s.Width() ? x + 1 : x, y1 = y + 1 < s.Height() ? y + 1 : y;
    const bool lastColumn = x1 == x, lastRow = y1 == y;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        auto c = [&](int px, int py) { return PixelAt(s, px, py) >> shift & 0xFF; };
        uint32_t value;
        if (lastColumn && lastRow)
            value = c(x, y);
        else if (lastColumn)
            value = ((0x10000 - fy) * c(x, y) + fy * c(x, y1)) >> 16;
        else if (lastRow)
            value = ((0x10000 - fx) * c(x, y) + fx * c(x1, y)) >> 16;
        else {
            const uint32_t w11 = (fx * fy) >> 16;
            value = ((0x10000 - fx - fy + w11) * c(x, y) + (fx - w11) * c(x1, y) + (fy - w11) * c(x, y1) +
                     w11 * c(x1, y1)) >>
                    16;
        }
        out |= value << shift;
    }
    return out;
}

}  // namespace

TEST(RotatedBlit, BilinearMatchesTheFourTapFormula) {
    struct Case {
        int srcW, srcH, dstW, dstH;
    };
    for (bool flipped : {false, true})
        for (Case c : {Case{7, 5, 11, 9}, Case{13, 4, 29, 13}, Case{42, 42, 61, 47}, Case{3, 3, 7, 8}}) {
            MemoryBitmap ms(c.srcW, c.srcH, 4);
            FlippedBitmap fs(c.srcW, c.srcH);
            RasterBitmap& s = flipped ? static_cast<RasterBitmap&>(fs) : ms;
            FillPattern(s, static_cast<uint32_t>(41 + c.dstW));
            const double sx = static_cast<float>(c.srcW) / static_cast<float>(c.dstW);
            const double sy = static_cast<float>(c.srcH) / static_cast<float>(c.dstH);
            const long long du = static_cast<long long>(sx * 65536.0),
                            dv = static_cast<long long>(sy * 65536.0);
            MemoryBitmap d(c.dstW, c.dstH, 4);
            Fill(d, 0x12345678);
            RotatedBlit(&d, &s, 0, 0, c.dstW, c.dstH, 0, 0, static_cast<float>(c.srcW),
                        static_cast<float>(c.srcH), 0.0f, false, 1.0f, BlendFilterBilinear, 0, 0);
            for (int y = 0; y < c.dstH; ++y)
                for (int x = 0; x < c.dstW; ++x)
                    ASSERT_EQ(PixelAt(d, x, y), ReferenceBilinear(s, x * du, y * dv))
                        << c.srcW << "x" << c.srcH << " -> " << c.dstW << "x" << c.dstH << " at " << x << ","
                        << y;
            // With source alpha the same samples go through the rule: compare with a plain blit of
            // the reference samples.
            MemoryBitmap samples(c.dstW, c.dstH, 4), viaBlit(c.dstW, c.dstH, 4);
            for (int y = 0; y < c.dstH; ++y)
                for (int x = 0; x < c.dstW; ++x)
                    PixelAt(samples, x, y) = ReferenceBilinear(s, x * du, y * dv);
            for (int mode : {BlendCopy, BlendAdd, BlendMultiply, BlendOverlay})
                for (float alpha : {1.0f, 0.6f}) {
                    const int flags = mode | BlendUseSourceAlpha;
                    FillPattern(d, 7);
                    FillPattern(viaBlit, 7);
                    RotatedBlit(&d, &s, 0, 0, c.dstW, c.dstH, 0, 0, static_cast<float>(c.srcW),
                                static_cast<float>(c.srcH), 0.0f, false, alpha, flags | BlendFilterBilinear,
                                0, 0);
                    Blit(&viaBlit, &samples, 0, 0, nullptr, alpha, flags);
                    ASSERT_EQ(Snapshot(d), Snapshot(viaBlit)) << "mode " << mode << " alpha " << alpha;
                }
        }
}

// The rotation's sine and cosine: as accurate as the C library's double functions, exact where a
// turn is whole, and the same bits on every platform. The fingerprint covers every angle of a knob
// ring's sweep (-150..150 degrees) at a fine step; the suite runs on both targets, so a platform
// whose arithmetic differs fails here.
TEST(PortableSinCos, AgreesWithTheLibraryToTheLastBits) {
    for (int i = -200000; i <= 200000; ++i) {
        const double angle = i * 5.0e-5;
        double s = 0, c = 0;
        PortableSinCos(angle, s, c);
        ASSERT_NEAR(s, std::sin(angle), 4e-16) << angle;
        ASSERT_NEAR(c, std::cos(angle), 4e-16) << angle;
    }
    double s = 1, c = 0;
    PortableSinCos(0.0, s, c);
    EXPECT_EQ(s, 0.0);
    EXPECT_EQ(c, 1.0);
    // Far out and absurd angles still give a point on the unit circle; no angle gives a number.
    for (double angle : {1.0e5 + 0.25, -3.0e6, 1.0e30}) {
        PortableSinCos(angle, s, c);
        EXPECT_NEAR(s * s + c * c, 1.0, 1e-12) << angle;
    }
    PortableSinCos(1.0e5 + 0.25, s, c);
    EXPECT_NEAR(s, std::sin(1.0e5 + 0.25), 1e-10);
    for (double angle : {NAN, INFINITY, -INFINITY}) {
        PortableSinCos(angle, s, c);
        EXPECT_TRUE(std::isnan(s) && std::isnan(c)) << angle;
    }
}

TEST(PortableSinCos, SameBitsOnEveryPlatform) {
    uint64_t fingerprint = 14695981039346656037u;  // FNV-1a over the bits of every result
    const auto mix = [&fingerprint](double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        for (int i = 0; i < 8; ++i) fingerprint = (fingerprint ^ ((bits >> (8 * i)) & 0xFF)) * 1099511628211u;
    };
    const float limit = 2.6179938f;  // 150 degrees
    for (int i = -100000; i <= 100000; ++i) {
        double s = 0, c = 0;
        PortableSinCos(static_cast<double>(limit * (static_cast<float>(i) / 100000.0f)), s, c);
        mix(s);
        mix(c);
    }
    EXPECT_EQ(fingerprint, 11481227287524070324u) << fingerprint;
}

// Blur: edge, side and interior values of a saturated area, narrow rectangles, and in-place
// blurs matching out-of-place ones.
TEST(Blur, SaturatedAreaEdgeValues) {
    MemoryBitmap s(5, 4, 4), d(5, 4, 4);
    Fill(s, 0xFFFFFFFF);
    Fill(d, 0);
    Blur(&d, &s, 0, 0, 0, 0, 5, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            int edges = (x == 0 || x == 4) + (y == 0 || y == 3);
            uint32_t byte = edges == 2 ? 253 : edges == 1 ? 252 : 251;
            EXPECT_EQ(PixelAt(d, x, y), byte * 0x01010101u) << x << "," << y;
        }
}

TEST(Blur, NarrowRectanglesDrawNothing) {
    MemoryBitmap s(5, 5, 4), d(5, 5, 4);
    Fill(s, 0xFFFFFFFF);
    Fill(d, 0);
    Blur(&d, &s, 0, 0, 2, 0, 1, 5);
    Blur(&d, &s, 0, 0, 0, 4, 5, 3);  // only one source row left after clipping
    Blur(&d, &s, 4, 0, 0, 0, 5, 5);  // one destination column
    EXPECT_EQ(Snapshot(d), std::vector<uint32_t>(25, 0));
}

// A destination left of and above the bitmap skips as many source columns and rows, and a
// destination past the right edge keeps what fits.
TEST(Blur, ClipsToTheDestination) {
    MemoryBitmap s(6, 5, 4), clipped(6, 5, 4), reference(6, 5, 4);
    FillPattern(s, 7);
    Fill(clipped, 0);
    Fill(reference, 0);
    Blur(&clipped, &s, -2, -1, 0, 0, 6, 5);
    Blur(&reference, &s, 0, 0, 2, 1, 4, 4);
    EXPECT_EQ(Snapshot(clipped), Snapshot(reference));

    Fill(clipped, 0);
    Fill(reference, 0);
    Blur(&clipped, &s, 3, 0, 0, 0, 6, 5);
    Blur(&reference, &s, 3, 0, 0, 0, 3, 5);
    EXPECT_EQ(Snapshot(clipped), Snapshot(reference));
}

TEST(Blur, InPlaceMatchesSeparateBitmaps) {
    for (int width : {6, 1100}) {
        MemoryBitmap s(width, 5, 4), d(width, 5, 4);
        FlippedBitmap same(width, 5);
        FillPattern(s, 61);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < width; ++x) PixelAt(same, x, y) = PixelAt(s, x, y);
        Fill(d, 0);
        Blur(&d, &s, 0, 0, 0, 0, width, 5);
        Blur(&same, &same, 0, 0, 0, 0, width, 5);
        EXPECT_EQ(Snapshot(same), Snapshot(d)) << width;

        // A shifted rectangle within the same bitmap still reads unblurred values.
        MemoryBitmap shifted(width, 5, 4);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < width; ++x) PixelAt(shifted, x, y) = PixelAt(s, x, y);
        Fill(d, 0);
        Blur(&d, &s, 1, 1, 0, 0, width - 1, 4);
        Blur(&shifted, &shifted, 1, 1, 0, 0, width - 1, 4);
        for (int y = 1; y < 5; ++y)
            for (int x = 1; x < width; ++x)
                ASSERT_EQ(PixelAt(shifted, x, y), PixelAt(d, x, y)) << width << ": " << x << "," << y;
    }
}
