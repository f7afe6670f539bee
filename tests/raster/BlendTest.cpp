#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "raster/Blit.h"
#include "raster/BlendMode.h"
#include "raster/FillRect.h"
#include "raster/HsvColor.h"
#include "raster/MemoryBitmap.h"
#include "tests/raster/RasterTestSupport.h"

namespace {

// Plain scalar transcription of the combine table: one channel at a time, no shortcuts, in 64-bit
// so that it holds the formulas' exact values for every weight.
long long Clamp(long long x) {
    return x < 0 ? 0 : x > 255 ? 255 : x;
}
int Byte(uint32_t p, int i) {
    return static_cast<int>((p >> (8 * i)) & 0xFF);
}

long long RefChannel(int rule, long long d, long long s, long long w) {
    switch (rule) {
        case 0:
            return s + (d - s) * (256 - w) / 256;
        case 1:
            return Clamp(d + s * w / 256);
        case 2: {
            long long k = 256 - s * w / 256;
            return k > 1 ? Clamp(d * 256 / k) : Clamp(d * 256);
        }
        case 3:
            return (s * w + (256 - w) * 256) * d >> 16;
        case 4: {
            long long t = s * w + (256 - w) * 128;
            return Clamp((t + (32768 - t) * d / 256) * d >> 15);
        }
    }
    return d;
}

uint32_t RefPlain(int rule, uint32_t d, uint32_t s, int sa, long long w) {
    uint32_t out = 0;
    for (int i = 0; i < 4; ++i) {
        int sc = i == 3 ? sa : Byte(s, i);
        out |= static_cast<uint32_t>(RefChannel(rule, Byte(d, i), sc, w) & 0xFF) << (8 * i);
    }
    return out;
}

// Blit of one pixel: the fast paths, then the rule table with and without source alpha.
uint32_t RefBlit(int mode, uint32_t d, uint32_t s, int w) {
    const int rule = mode & 0xFF, sa = static_cast<int>(s >> 24);
    if (!(mode & 0x10000)) {
        if (rule == 0 && w == 256) return s;
        return RefPlain(rule, d, s, sa, w);
    }
    const long long ws = (sa + 1) * static_cast<long long>(w) / 256;
    if (rule == 0) {
        if (sa == 0) return d;
        uint32_t out = 0;
        int da = Byte(d, 3);
        if (w == 256) {
            if (sa == 255) return (s & 0xFFFFFF) | 0xFF000000u;
            for (int i = 0; i < 3; ++i)
                out |=
                    static_cast<uint32_t>((Byte(s, i) + (Byte(d, i) - Byte(s, i)) * (255 - sa) / 256) & 0xFF)
                    << (8 * i);
            return out | static_cast<uint32_t>(da + sa > 255 ? 255 : da + sa) << 24;
        }
        for (int i = 0; i < 3; ++i)
            out |= static_cast<uint32_t>((Byte(s, i) + (Byte(d, i) - Byte(s, i)) * (256 - ws) / 256) & 0xFF)
                   << (8 * i);
        return out | static_cast<uint32_t>((da + ws > 255 ? 255 : da + ws) & 0xFF) << 24;
    }
    if (sa == 0 && (rule == 1 || rule == 3)) return d;
    return RefPlain(rule, d, s, sa, ws);
}

// Pixel values that hit the truncation and clamping corners, plus pseudo-random ones.
std::vector<uint32_t> Samples(uint32_t seed, int count) {
    std::vector<uint32_t> v = {0x00000000, 0xFFFFFFFF, 0x80808080, 0x7F7F7F7F, 0x01FF0080,
                               0xFE01FF7F, 0x00FFFFFF, 0xFF000000, 0x10C8641E};
    Lcg lcg{seed};
    while (static_cast<int>(v.size()) < count) v.push_back(lcg.Next());
    return v;
}

// Up to the largest weight a float alpha converts to: the formulas hold for every one of them.
constexpr int kWeights[] = {1,     7,     64,    100,    127,     128,        129,        192,
                            200,   255,   256,   300,    512,     -40,        2048,       2049,
                            32512, 65792, -4096, 400000, 1 << 24, -(1 << 24), 2147483520, -2147483647 - 1};

}  // namespace

// Every rule, with and without source alpha, at many weights: Blit matches the reference for
// every pair of sample pixels (rows of 64 pixels, so vectorised loops and tails both run).
TEST(BlitRules, MatchScalarReference) {
    const int n = 64;
    auto dst = Samples(1, n * 8), src = Samples(2, n * 8);
    for (int rule = 0; rule <= 4; ++rule)
        for (int alphaFlag : {0, 0x10000})
            for (int w : kWeights) {
                const int mode = rule | alphaFlag;
                for (size_t base = 0; base < dst.size(); base += n) {
                    MemoryBitmap d(n, 1, 4), s(n, 1, 4);
                    for (size_t i = 0; i < n; ++i)
                        d.Bits()[i] = dst[base + i], s.Bits()[i] = src[(base + i * 7) % src.size()];
                    auto before = Snapshot(d);
                    Blit(&d, &s, 0, 0, nullptr, static_cast<float>(w) / 256.0f, mode);
                    for (size_t i = 0; i < n; ++i) {
                        uint32_t expected =
                            (rule == 0 && !alphaFlag && w <= 0) ? before[i]
                            : (rule == 0 && !alphaFlag && w == 128)
                                ? ((s.Bits()[i] >> 1) & 0x7F7F7F7F) + ((before[i] >> 1) & 0x7F7F7F7F)
                                : RefBlit(mode, before[i], s.Bits()[i], w);
                        ASSERT_EQ(d.Bits()[i], expected) << "mode " << mode << " w " << w << " d " << std::hex
                                                         << before[i] << " s " << s.Bits()[i];
                    }
                }
            }
}

TEST(BlitRules, DocumentedValues) {
    MemoryBitmap d(1, 1, 4), s(1, 1, 4);
    auto one = [&](uint32_t dv, uint32_t sv, float alpha, int mode) {
        d.Bits()[0] = dv, s.Bits()[0] = sv;
        Blit(&d, &s, 0, 0, nullptr, alpha, mode);
        return d.Bits()[0];
    };
    EXPECT_EQ(one(0x00000000, 0xFFFFFFFF, 0.5f, BlendCopy), 0x7F7F7F7Fu);
    EXPECT_EQ(one(0x12345678, 0x9ABCDEF0, 1.0f, BlendCopy), 0x9ABCDEF0u);
    EXPECT_EQ(one(0xFF646464, 0xFFC8C8C8, 1.0f, BlendAdd), 0xFFFFFFFFu);
    EXPECT_EQ(one(0xC8C8C8C8, 0x80808080, 1.0f, BlendMultiply), 0x64646464u);
    EXPECT_EQ(one(0x00FF0100, 0xFFFFFFFF, 1.0f, BlendDodge), 0x00FFFF00u);
    EXPECT_EQ(one(0x11223344, 0x00ABCDEF, 1.0f, BlendCopy | BlendUseSourceAlpha), 0x11223344u);
    EXPECT_EQ(one(0x11223344, 0xFFABCDEF, 1.0f, BlendCopy | BlendUseSourceAlpha), 0xFFABCDEFu);
    EXPECT_EQ(one(0x40506070, 0x80808080, 1.0f, BlendOverlay), 0x40506070u);  // 128 is neutral
    EXPECT_EQ(one(0x11223344, 0xFFFFFFFF, 1.0f, 0x06), 0x11223344u);          // unknown rule
    EXPECT_EQ(one(0x11223344, 0xFFFFFFFF, 0.0f, BlendAdd), 0x11223344u);
    // Weights beyond 1 keep the formula: alpha 8 adds eight times the source.
    EXPECT_EQ(one(0x00000000, 0x00000010, 8.0f, BlendAdd), 0x00000080u);
    EXPECT_EQ(one(0x00000000, 0x00000010, 1e30f, BlendAdd), 0x000000FFu);  // the weight saturates
}

// Channel copy moves exactly one byte per pixel, whatever the alpha.
TEST(BlitRules, ChannelCopyTouchesOneByte) {
    MemoryBitmap d(3, 1, 4), s(3, 1, 4);
    for (int i = 0; i < 3; ++i) d.Bits()[i] = 0x11223344, s.Bits()[i] = 0xA1B2C3D4;
    Blit(&d, &s, 0, 0, nullptr, 0.3f, 0xF3);  // source alpha -> destination blue
    EXPECT_EQ(d.Bits()[0], 0x112233A1u);
    Blit(&d, &s, 0, 0, nullptr, 1.0f, 0xFC);  // source blue -> destination alpha
    EXPECT_EQ(d.Bits()[2], 0xD42233A1u);
}

// HSV adjustment: a neutral source keeps colours (within the integer round trip's error), a hue push of
// +190 steps turns red to cyan-ish, and the reciprocal table holds its documented entries.
TEST(BlitRules, HsvAdjust) {
    EXPECT_EQ(ReciprocalTable[0], 0);
    EXPECT_EQ(ReciprocalTable[1], 65535);
    EXPECT_EQ(ReciprocalTable[255], 256);
    EXPECT_EQ(ReciprocalTable[3], 21844);

    MemoryBitmap d(1, 1, 4), s(1, 1, 4);
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15) {
                d.Bits()[0] = 0x00000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
                s.Bits()[0] = 0x7F808080;
                Blit(&d, &s, 0, 0, nullptr, 1.0f, BlendHsvAdjust);
                uint32_t p = d.Bits()[0];
                ASSERT_EQ(p >> 24, 0x7Fu);
                ASSERT_NEAR(Byte(p, 2), r, 5) << r << "," << g << "," << b;
                ASSERT_NEAR(Byte(p, 1), g, 5) << r << "," << g << "," << b;
                ASSERT_NEAR(Byte(p, 0), b, 5) << r << "," << g << "," << b;
            }

    d.Bits()[0] = 0xFFFF0000, s.Bits()[0] = 0xFFFF8080;
    Blit(&d, &s, 0, 0, nullptr, 1.0f, BlendHsvAdjust);
    EXPECT_EQ(d.Bits()[0], 0xFF00FFF7u);
    d.Bits()[0] = 0xFF204060, s.Bits()[0] = 0x80808000;  // value pushed to 0
    Blit(&d, &s, 0, 0, nullptr, 1.0f, BlendHsvAdjust | BlendUseSourceAlpha);
    EXPECT_EQ(d.Bits()[0] & 0xFFFFFF, 0u);
    EXPECT_EQ(d.Bits()[0] >> 24, 0x80u);
    // Huge pushes stay well-defined integer arithmetic (the sanitizers check) and keep the alpha.
    for (float alpha : {8.0f, 1e30f, -1e30f})
        for (uint32_t source : {0xC0FF0000u, 0x4000FFFFu, 0x8080FF00u}) {
            d.Bits()[0] = 0xFF204060, s.Bits()[0] = source;
            Blit(&d, &s, 0, 0, nullptr, alpha, BlendHsvAdjust);
            EXPECT_EQ(d.Bits()[0] >> 24, source >> 24);
            Blit(&d, &s, 0, 0, nullptr, alpha, BlendHsvAdjust | BlendUseSourceAlpha);
        }
}

// FillRect: the whole-word weights, and the rules with the weight standing in for alpha.
TEST(FillRectRules, ShortcutsAndRules) {
    const uint32_t colour = 0x80C04010;
    for (uint32_t p : Samples(3, 200)) {
        MemoryBitmap d(1, 1, 4);
        auto fill = [&](float alpha, int mode) {
            d.Bits()[0] = p;
            FillRect(&d, 0, 0, 1, 1, colour, alpha, mode);
            return d.Bits()[0];
        };
        ASSERT_EQ(fill(1.0f, BlendCopy), colour);
        ASSERT_EQ(fill(0.5f, BlendCopy), ((colour >> 1) & 0x7F7F7F7F) + ((p >> 1) & 0x7F7F7F7F));
        uint32_t quarter = 0;
        for (int i = 0; i < 4; ++i)
            quarter |= uint32_t(Byte(colour, i) / 4 + Byte(p, i) / 2 + Byte(p, i) / 4) << (8 * i);
        ASSERT_EQ(fill(0.25f, BlendCopy), quarter);
        ASSERT_EQ(fill(0.75f, BlendCopy),
                  ((colour >> 1) & 0x7F7F7F7F) + ((colour >> 2) & 0x3F3F3F3F) + ((p >> 2) & 0x3F3F3F3F));
        for (int rule = 0; rule <= 4; ++rule)
            for (int w : {1, 33, 100, 200, 255, 300, 2048, 2049, -2049, 65792, -4096})
                ASSERT_EQ(fill(static_cast<float>(w) / 256.0f, rule),
                          rule == 0 && w < 0 ? p : RefPlain(rule, p, colour, w, w))
                    << "rule " << rule << " w " << w << " p " << std::hex << p;
        // Source alpha scales the float weight: 0x80 / 255 of 1.0 gives w = 128.
        ASSERT_EQ(fill(1.0f, BlendCopy | BlendUseSourceAlpha), fill(0.5f, BlendCopy));
        ASSERT_EQ(fill(1.0f, 7), p);
        ASSERT_EQ(fill(-0.5f, BlendCopy), p);
    }
    MemoryBitmap d(1, 1, 4);
    d.Bits()[0] = 0x11223344;
    FillRect(&d, 0, 0, 1, 1, 0x00FFFFFF, 1.0f, BlendAdd | BlendUseSourceAlpha);
    EXPECT_EQ(d.Bits()[0], 0x11223344u);
    FillRect(&d, 0, 0, 1, 1, 0x00808080, 200.0f / 256.0f, BlendHsvAdjust);
    EXPECT_EQ(d.Bits()[0] >> 24, 200u);  // the weight becomes the alpha
}

// Clipping of fills at every edge, and the rows of flipped bitmaps.
TEST(FillRectRules, ClipsAtEveryEdge) {
    FlippedBitmap d(6, 5);
    Fill(d, 0);
    FillRect(&d, -2, -3, 4, 5, 0xFFFFFFFF, 1.0f, BlendCopy);  // covers x 0..1, y 0..1
    FillRect(&d, 4, 3, 10, 10, 0x11111111, 1.0f, BlendCopy);  // x 4..5, y 3..4
    FillRect(&d, 6, 0, 3, 3, 0x22222222, 1.0f, BlendCopy);    // entirely right of the bitmap
    FillRect(&d, 0, -5, 3, 5, 0x22222222, 1.0f, BlendCopy);   // entirely above
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            uint32_t expected = (x < 2 && y < 2) ? 0xFFFFFFFF : (x >= 4 && y >= 3) ? 0x11111111 : 0;
            EXPECT_EQ(PixelAt(d, x, y), expected) << x << "," << y;
        }
    EXPECT_EQ(d.Bits()[4 * d.RowSpan()], 0xFFFFFFFFu);  // image row 0 is the last memory row
    FillRect(nullptr, 0, 0, 1, 1, 0, 1.0f, 0);
}
