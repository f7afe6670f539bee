#include "raster/GlyphCacheFont.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "raster/BlendRules.h"
#include "raster/MemoryBitmap.h"
#include "tests/raster/FakePlatformFont.h"
#include "tests/raster/RasterTestSupport.h"

namespace {

constexpr uint32_t kBackground = 0xFF000000u;
constexpr uint32_t kRed = 0xFFFF0000u;

using Layer = GlyphCacheFont::CompatibilityLayer;

// Glyphs of the fake font (line height 10 unless a test says otherwise):
//   'A' advance 5, a solid 4 x 6 block in rows 2..7;
//   'I' advance 4, ink 2 pixels left of the pen and 1 pixel past the advance (italic overhang);
//   'G' advance 4, every pixel of its 4 x 10 cell inked with a different coverage;
//   ' ' advance 4, no ink; any other character a 3-pixel advance with a bar in column 0.
void AddGlyphs(FakePlatformFont& f) {
    FakeGlyph a = {5, {}};
    for (int y = 2; y < 8; ++y)
        for (int x = 0; x < 4; ++x) a.ink.push_back({x, y, 255});
    f.glyphs['A'] = a;
    f.glyphs['I'] = {4, {{-2, 0, 255}, {0, 1, 255}, {5, 9, 255}}};
    FakeGlyph g = {4, {}};
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 4; ++x) g.ink.push_back({x, y, static_cast<uint8_t>(1 + x * 60 + y * 5)});
    f.glyphs['G'] = g;
    f.glyphs[' '] = {4, {}};
}

class GlyphCacheFontTest : public ::testing::Test {
  protected:
    // Tests run the own renderer unless they ask for the platform one.
    void SetUp() override { GlyphCacheFont::SetProbeResultForTesting(Layer::Present); }
    void TearDown() override { GlyphCacheFont::SetProbeResultForTesting(Layer::NotProbed); }

    FakePlatformFont* Use(int flags, int height = 10) {
        auto* fake = new FakePlatformFont(height);
        AddGlyphs(*fake);
        font.SetFromHFont(fake, flags | FontOwnsHandle);
        font.SetForegroundColor(kRed);
        return fake;
    }

    std::vector<uint8_t> Mask(int code) {
        const GlyphRecord* g = font.FindGlyph(code);
        if (!g || !font.GlyphMask(*g)) font.RenderGlyph(code);
        g = font.FindGlyph(code);
        const uint8_t* m = g ? font.GlyphMask(*g) : nullptr;
        return m ? std::vector<uint8_t>(m, m + g->width * g->height) : std::vector<uint8_t>();
    }

    GlyphCacheFont font;
};

bool Inked(RasterBitmap& b, int x, int y) {
    return PixelAt(b, x, y) != kBackground;
}

}  // namespace

// Measuring gives the advances and ink extents; alignment places the box inside the rect.
TEST_F(GlyphCacheFontTest, MeasuresAndAlignsAgainstTheMeasuredExtents) {
    Use(0);
    TextRect r = {3, 4, 0, 0};
    EXPECT_EQ(font.DrawString(nullptr, "AA", -1, &r, TextCalcRect), 10);
    EXPECT_EQ(r.right, 13);
    EXPECT_EQ(r.bottom, 14);

    struct Case {
        unsigned flags;
        int inkX, inkY;
    };
    // The first ink pixel of "AA" (width 10, height 10) in the rect (0, 0, 40, 30).
    for (Case c : {Case{0, 0, 2}, Case{TextCenter, 15, 2}, Case{TextRight, 30, 2}, Case{TextVCenter, 0, 12},
                   Case{TextBottom, 0, 22}, Case{TextCenter | TextBottom, 15, 22}}) {
        MemoryBitmap b(40, 30, 4);
        Fill(b, kBackground);
        TextRect box = {0, 0, 40, 30};
        EXPECT_EQ(font.DrawString(&b, "AA", -1, &box, c.flags), 10) << c.flags;
        EXPECT_TRUE(Inked(b, c.inkX, c.inkY)) << c.flags;
        EXPECT_FALSE(Inked(b, c.inkX - 1, c.inkY)) << c.flags;
        EXPECT_FALSE(Inked(b, c.inkX, c.inkY - 1)) << c.flags;
        EXPECT_TRUE(Inked(b, c.inkX + 8, c.inkY + 5)) << c.flags;
    }
}

// Line feeds start a new line at the line's start x, or count as a space on a single line;
// carriage returns are neither drawn nor advance the pen.
TEST_F(GlyphCacheFontTest, LineFeedsAndCarriageReturns) {
    Use(0);
    MemoryBitmap b(30, 30, 4);
    Fill(b, kBackground);
    TextRect r = {2, 0, 30, 30};
    EXPECT_EQ(font.DrawString(&b, "A\nB", -1, &r, TextSingleLine), 10);
    EXPECT_TRUE(Inked(b, 2 + 5 + 4, 0));  // B's bar after A and a space
    EXPECT_FALSE(Inked(b, 2, 10));

    Fill(b, kBackground);
    EXPECT_EQ(font.DrawString(&b, "A\nB", -1, &r, 0), 20);
    EXPECT_TRUE(Inked(b, 2, 10));
    EXPECT_TRUE(Inked(b, 2, 19));
    EXPECT_FALSE(Inked(b, 11, 0));

    Fill(b, kBackground);
    font.DrawString(&b, "A\r\rB", -1, &r, 0);
    EXPECT_TRUE(Inked(b, 2 + 5, 0));
    TextRect m = {0, 0, 0, 0};
    font.DrawString(nullptr, "A\nAA", -1, &m, TextCalcRect);
    EXPECT_EQ(m.right, 10);
    EXPECT_EQ(m.bottom, 20);
}

// Each character goes to the platform once per font setting; a new setting starts afresh.
TEST_F(GlyphCacheFontTest, CacheFillsOncePerCharacter) {
    FakePlatformFont* fake = Use(0);
    MemoryBitmap b(60, 12, 4);
    Fill(b, kBackground);
    TextRect r = {0, 0, 60, 12};
    font.DrawString(&b, "ABAB\xC3\xA9\xC3\xA9", -1, &r, TextCenter);
    font.DrawString(&b, "BABA\xC3\xA9", -1, &r, 0);
    EXPECT_EQ(fake->measured['A'], 1);
    EXPECT_EQ(fake->measured['B'], 1);
    EXPECT_EQ(fake->measured[0xE9], 1);
    EXPECT_EQ(fake->rendered, 3);

    FakePlatformFont* second = Use(0);
    font.DrawString(&b, "A", -1, &r, 0);
    EXPECT_EQ(second->rendered, 1);
    EXPECT_EQ(font.FindGlyph('B')->offset, 0);
    EXPECT_EQ(font.FindGlyph(0xE9), nullptr);
}

// Masks are cropped to their ink; ink left of the pen becomes the left offset and is drawn
// that far left of the pen.
TEST_F(GlyphCacheFontTest, InkCroppingAndItalicLeftOffset) {
    Use(0);
    font.RenderGlyph('A');
    const GlyphRecord* a = font.FindGlyph('A');
    EXPECT_EQ(a->width, 5);  // from the pen to the advance: no ink outside it
    EXPECT_EQ(a->height, 10);
    EXPECT_EQ(a->leftOffset, 0);
    EXPECT_EQ(a->advance, 5);

    font.RenderGlyph('I');
    const GlyphRecord* i = font.FindGlyph('I');
    EXPECT_EQ(i->leftOffset, 2);
    EXPECT_EQ(i->width, 2 + 5 + 1);
    MemoryBitmap b(30, 12, 4);
    Fill(b, kBackground);
    TextRect r = {10, 0, 30, 12};
    font.DrawString(&b, "I", -1, &r, TextNoClip);  // the overhang lies left of the rect
    EXPECT_TRUE(Inked(b, 8, 0));
    EXPECT_TRUE(Inked(b, 10, 1));
    EXPECT_TRUE(Inked(b, 15, 9));
    TextRect m = {0, 0, 0, 0};
    font.DrawString(nullptr, "I", -1, &m, TextCalcRect);
    EXPECT_EQ(m.right, 6);  // ink reaches one past the advance: 8 - 2
}

// The stored mask of each effect on known glyphs.
TEST_F(GlyphCacheFontTest, EffectMasks) {
    FakePlatformFont* fake = Use(FontMono);
    fake->glyphs['m'] = {3, {{0, 0, 130}, {1, 0, 131}}};
    std::vector<uint8_t> mono = Mask('m');
    EXPECT_EQ(mono[0], 0);
    EXPECT_EQ(mono[1], 255);

    // One inked pixel at (1, 1) of a 4-wide cell.
    auto dot = [](FakePlatformFont& f) { f.glyphs['d'] = {4, {{1, 1, 200}}}; };
    auto count = [](const std::vector<uint8_t>& m, uint8_t v) { return std::count(m.begin(), m.end(), v); };
    dot(*Use(FontShadow));
    std::vector<uint8_t> shadow = Mask('d');
    ASSERT_EQ(shadow.size(), 40u);
    EXPECT_EQ(shadow[1 * 4 + 1], 255);
    EXPECT_EQ(shadow[1 * 4 + 2], 128);  // right
    EXPECT_EQ(shadow[2 * 4 + 1], 128);  // below
    EXPECT_EQ(shadow[2 * 4 + 2], 128);  // lower right
    EXPECT_EQ(count(shadow, 128), 3);

    dot(*Use(FontOutline | FontShadow));  // shadow wins
    EXPECT_EQ(Mask('d'), shadow);

    dot(*Use(FontOutline));
    std::vector<uint8_t> outline = Mask('d');
    EXPECT_EQ(outline[0 * 4 + 1], 128);
    EXPECT_EQ(outline[2 * 4 + 1], 128);
    EXPECT_EQ(outline[1 * 4 + 0], 128);
    EXPECT_EQ(outline[1 * 4 + 2], 128);
    EXPECT_EQ(count(outline, 128), 4);

    // At the cell's corner only the neighbours inside the cell are set.
    Use(FontOutline)->glyphs['c'] = {4, {{0, 0, 255}}};
    std::vector<uint8_t> corner = Mask('c');
    EXPECT_EQ(count(corner, 128), 2);
    EXPECT_EQ(corner[1], 128);
    EXPECT_EQ(corner[4], 128);

    dot(*Use(FontInvert));
    std::vector<uint8_t> inverted = Mask('d');
    EXPECT_EQ(inverted[1 * 4 + 1], 55);
    EXPECT_EQ(inverted[0], 255);
}

// Vertical glyphs are stored turned a quarter turn: clockwise downwards, anticlockwise upwards.
TEST_F(GlyphCacheFontTest, VerticalMasksAreTurned) {
    Use(FontVertical, 4)->glyphs['v'] = {3, {{0, 0, 255}}};
    std::vector<uint8_t> down = Mask('v');
    const GlyphRecord* g = font.FindGlyph('v');
    ASSERT_EQ(g->width, 4);
    ASSERT_EQ(g->height, 3);
    EXPECT_EQ(down[0 * 4 + 3], 255);  // top left turns to top right
    EXPECT_EQ(std::count(down.begin(), down.end(), 255), 1);

    Use(FontVertical | FontBottomUp, 4)->glyphs['v'] = {3, {{0, 0, 255}}};
    std::vector<uint8_t> up = Mask('v');
    EXPECT_EQ(up[2 * 4 + 0], 255);  // top left turns to bottom left

    // Downwards text advances along y; bottom-up text starts at the bottom of its box.
    MemoryBitmap b(12, 30, 4);
    Fill(b, kBackground);
    TextRect r = {0, 0, 12, 30};
    EXPECT_EQ(font.DrawString(&b, "vv", -1, &r, 0), 4);
    EXPECT_TRUE(Inked(b, 0, 6 - 3 + 2));  // second glyph's ink, counted up from y = 6
    EXPECT_TRUE(Inked(b, 0, 6 - 3 - 3 + 2));
}

// Compositing follows the blend rules with the coverage as weight; flags choose the colours.
TEST_F(GlyphCacheFontTest, CompositingWeightsAndColours) {
    Use(0)->glyphs['p'] = {2, {{0, 0, 100}}};
    const uint32_t dest = 0xFF204060u;
    auto drawOne = [&](unsigned flags) {
        MemoryBitmap b(4, 2, 4);
        Fill(b, dest);
        TextRect r = {0, 0, 4, 2};
        font.DrawString(&b, "p", -1, &r, flags);
        return PixelAt(b, 0, 0);
    };
    EXPECT_EQ(drawOne(0), blend::Rules<int>::CopyWeighted::Apply(dest, kRed, 255, 101));
    font.SetCombineMode(BlendCopy, 0.5f);
    EXPECT_EQ(drawOne(0), blend::Rules<int>::CopyWeighted::Apply(dest, kRed, 255, 128 * 100 / 256));
    font.SetCombineMode(BlendAdd, 1.0f);
    EXPECT_EQ(drawOne(0), blend::Rules<int>::Add::Apply(dest, kRed, 255, 101));

    // The colour's alpha scales the weight for one call only.
    font.SetCombineMode(BlendCopy, 1.0f);
    font.SetForegroundColor(0x80FF0000u);
    EXPECT_EQ(drawOne(TextUseColorAlpha),
              blend::Rules<int>::CopyWeighted::Apply(dest, kRed, 255, 128 * 100 / 256));
    EXPECT_EQ(drawOne(0), blend::Rules<int>::CopyWeighted::Apply(dest, kRed, 255, 101));

    // Shadowed text stores the foreground and the effect colour words directly.
    Use(FontShadow)->glyphs['d'] = {4, {{1, 1, 255}}};
    font.SetForegroundColor(0x11223344u);
    font.SetEffectColor(0x55667788u);
    MemoryBitmap b(8, 10, 4);
    Fill(b, kBackground);
    TextRect r = {0, 0, 8, 10};
    font.DrawString(&b, "d", -1, &r, 0);
    EXPECT_EQ(PixelAt(b, 1, 1), 0x11223344u);
    EXPECT_EQ(PixelAt(b, 2, 2), 0x55667788u);
    EXPECT_EQ(PixelAt(b, 0, 0), kBackground);

    // An opaque background fills the visible cell.
    Use(0);
    font.SetBackgroundMode(2);
    font.SetBackgroundColor(0xFF00FF00u);
    Fill(b, kBackground);
    font.DrawString(&b, "A", -1, &r, 0);
    EXPECT_EQ(PixelAt(b, 4, 0), 0xFF00FF00u);
    EXPECT_EQ(PixelAt(b, 0, 2), kRed);
    EXPECT_EQ(PixelAt(b, 5, 0), kBackground);
}

// Glyphs cut at any bitmap edge or rect edge show exactly the part a larger bitmap would.
TEST_F(GlyphCacheFontTest, ClipsAtEveryEdge) {
    Use(0);
    constexpr int W = 13, H = 11, M = 20;
    for (int noClip = 0; noClip < 2; ++noClip)
        for (int y = -12; y <= H + 1; y += 3)
            for (int x = -12; x <= W + 1; x += 2) {
                MemoryBitmap big(W + 2 * M, H + 2 * M, 4);
                Fill(big, kBackground);
                MemoryBitmap small(W, H, 4);
                Fill(small, kBackground);
                TextRect r = {x, y, x + 9, y + 8};
                TextRect shifted = {x + M, y + M, x + 9 + M, y + 8 + M};
                const unsigned flags = noClip ? TextNoClip : 0u;
                font.DrawString(&small, "GG", -1, &r, flags);
                font.DrawString(&big, "GG", -1, &shifted, flags);
                for (int py = 0; py < H; ++py)
                    for (int px = 0; px < W; ++px)
                        ASSERT_EQ(PixelAt(small, px, py), PixelAt(big, px + M, py + M))
                            << x << "," << y << " pixel " << px << "," << py << " noclip " << noClip;
            }
}

// Nothing is drawn for a zero effective alpha, an empty clip or a null bitmap.
TEST_F(GlyphCacheFontTest, NothingDrawnWithoutAlphaOrRoom) {
    Use(0);
    MemoryBitmap b(20, 12, 4);
    Fill(b, kBackground);
    TextRect r = {0, 0, 20, 12};
    font.SetForegroundColor(0x00FFFFFFu);
    EXPECT_EQ(font.DrawString(&b, "AA", -1, &r, TextUseColorAlpha), 0);
    font.SetForegroundColor(kRed);
    font.SetCombineMode(BlendCopy, 0.0f);
    EXPECT_EQ(font.DrawString(&b, "AA", -1, &r, 0), 0);
    font.SetCombineMode(BlendCopy, 1.0f);
    TextRect outside = {30, 0, 40, 12};
    EXPECT_EQ(font.DrawString(&b, "AA", -1, &outside, 0), 0);
    EXPECT_EQ(font.DrawString(nullptr, "AA", -1, &r, 0), 0);
    EXPECT_EQ(font.DrawString(&b, "AA", 0, &r, 0), 0);
    const std::vector<uint32_t> pixels = Snapshot(b);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kBackground), 20 * 12);
    EXPECT_EQ(font.DrawString(&b, nullptr, -1, &r, 0), 0);
}

// A flipped bitmap receives the same image as a top-down one.
TEST_F(GlyphCacheFontTest, FlippedDestination) {
    Use(0);
    MemoryBitmap plain(30, 24, 4);
    Fill(plain, kBackground);
    FlippedBitmap flipped(30, 24);
    Fill(flipped, kBackground);
    TextRect r = {-2, 3, 30, 24};
    font.DrawString(&plain, "GAI\nGG", -1, &r, TextCenter);
    font.DrawString(&flipped, "GAI\nGG", -1, &r, TextCenter);
    EXPECT_EQ(Snapshot(plain), Snapshot(flipped));
}

// Byte counts end the text where they say, and broken sequences draw their lead byte.
TEST_F(GlyphCacheFontTest, ByteCountsAndBrokenSequences) {
    FakePlatformFont* fake = Use(0);
    TextRect m = {0, 0, 0, 0};
    EXPECT_EQ(font.DrawString(nullptr, "AAAA", 2, &m, TextCalcRect), 10);
    EXPECT_EQ(m.right, 10);
    font.DrawString(nullptr, "A\xE2\x82", 2, &m, TextCalcRect);
    EXPECT_EQ(fake->measured[0xE2], 1);
    EXPECT_EQ(fake->measured[0x82], 0);
    EXPECT_EQ(m.right, 5 + 3);
}

// The platform renderer serves plain opaque text when allowed, always fonts of 256 pixels
// and more, and never effect flags, translucent colours or forced-cache calls below that.
TEST_F(GlyphCacheFontTest, RendererChoice) {
    MemoryBitmap b(20, 12, 4);
    Fill(b, kBackground);
    TextRect r = {0, 0, 20, 12};
    FakePlatformFont* fake = Use(FontPreferNative);
    fake->directTarget = &b;
    font.DrawString(&b, "A", -1, &r, 0);
    EXPECT_EQ(fake->direct, 0) << "the compatibility layer is present";

    GlyphCacheFont::SetProbeResultForTesting(Layer::Absent);
    // Translucent text is cached, but measures itself through the platform for alignment.
    font.DrawString(&b, "A", -1, &r, TextCenter | TextUseColorAlpha);
    EXPECT_EQ(fake->direct, 1);
    font.DrawString(&b, "A", -1, &r, TextForceCached);
    font.DrawString(&b, "A", -1, &r, TextCenter | TextForceCached);
    EXPECT_EQ(fake->direct, 1);
    EXPECT_EQ(font.DrawString(&b, "AB", -1, &r, TextCenter), 10);
    EXPECT_EQ(fake->direct, 2);
    EXPECT_EQ(fake->lastFlags, TextCenter | TextNoPrefix);
    EXPECT_EQ(fake->lastColours.foreground, kRed);

    for (int effect : {FontAsciiOnly, FontVertical, FontBottomUp, FontBlur, FontInvert, FontMono, FontShadow,
                       FontOutline}) {
        FakePlatformFont* f = Use(FontPreferNative | effect);
        f->directTarget = &b;
        font.DrawString(&b, "A", -1, &r, 0);
        EXPECT_EQ(f->direct, 0) << effect;
    }

    FakePlatformFont* tall = Use(FontMono, 300);
    tall->directTarget = &b;
    font.DrawString(&b, "A", -1, &r, TextForceCached | TextUseColorAlpha);
    EXPECT_EQ(tall->direct, 1);
    EXPECT_EQ(tall->lastFlags & (TextForceCached | TextUseColorAlpha), 0u);
    EXPECT_TRUE(font.RenderGlyph('A')) << "glyphs up to 1023 pixels can still be cached";
}

// The probe runs on the first call that gets to it, and its answer stays.
TEST_F(GlyphCacheFontTest, ProbeRunsOnceWhenReached) {
    GlyphCacheFont::SetProbeResultForTesting(Layer::NotProbed);
    Use(FontPreferNative);
    MemoryBitmap b(20, 12, 4);
    Fill(b, kBackground);
    TextRect r = {0, 0, 20, 12};
    font.DrawString(&b, "A", -1, &r, TextForceCached);
    EXPECT_EQ(GlyphCacheFont::ProbeResult(), Layer::NotProbed);
    font.DrawString(&b, "A", -1, &r, 0);
    EXPECT_EQ(GlyphCacheFont::ProbeResult(), ProbeCompatibilityLayer() ? Layer::Present : Layer::Absent);
}

// Without a drawing context the platform draws in the text scratch, which is copied back.
TEST_F(GlyphCacheFontTest, PlatformRendererThroughTextScratch) {
    GlyphCacheFont::SetProbeResultForTesting(Layer::Absent);
    FakePlatformFont* fake = Use(FontPreferNative);
    MemoryBitmap b(40, 20, 4);
    Fill(b, kBackground);
    TextRect r = {0, 0, 40, 20};
    EXPECT_EQ(font.DrawString(&b, "AB", -1, &r, TextCenter), 0) << "TextScratch cannot be drawn into";

    fake->scratchOnly = true;
    TextRect m = {5, 6, 0, 0};
    EXPECT_EQ(font.DrawString(nullptr, "AB", -1, &m, TextCalcRect), 10);
    EXPECT_EQ(m.right, 15);
    EXPECT_EQ(m.bottom, 16);

    // Centred: the 10-pixel box lands at x = 15, widened by 2 pixels to the left for overhang.
    EXPECT_EQ(font.DrawString(&b, "AB", -1, &r, TextCenter), 10);
    EXPECT_EQ(fake->lastFlags, TextNoClip | TextNoPrefix);
    EXPECT_EQ(PixelAt(b, 15, 0), kRed);
    EXPECT_EQ(PixelAt(b, 24, 9), kRed);
    EXPECT_EQ(PixelAt(b, 14, 0), kBackground);
    EXPECT_EQ(PixelAt(b, 25, 0), kBackground);
    EXPECT_EQ(PixelAt(b, 15, 10), kBackground);
}

// Line heights of 1024 and more render no glyph at all.
TEST_F(GlyphCacheFontTest, HugeFontsRenderNothing) {
    FakePlatformFont* fake = Use(FontAsciiOnly, 1100);
    EXPECT_EQ(fake->rendered, 0);
    EXPECT_EQ(font.FindGlyph('A')->offset, 0);
    EXPECT_FALSE(font.RenderGlyph('A'));

    fake = Use(FontAsciiOnly, 12);
    EXPECT_EQ(fake->rendered, 128);
    EXPECT_FALSE(font.RenderGlyph(0xE9)) << "only ASCII is cached";
    TextRect m = {0, 0, 0, 0};
    font.DrawString(nullptr,
                    "A\xC3\xA9"
                    "A",
                    -1, &m, TextCalcRect);
    EXPECT_EQ(m.right, 10);
}

// The font deletes a handle it owns when it is replaced or destroyed, and only then.
TEST(GlyphCacheFontLifetime, HandleOwnershipAndScratch) {
    const int before = GlyphCacheFont::LiveFontCount();
    int deleted = 0;
    auto make = [&] {
        auto* f = new FakePlatformFont(10);
        f->deleted = &deleted;
        return f;
    };
    FakePlatformFont* unowned = nullptr;
    {
        GlyphCacheFont font;
        EXPECT_EQ(GlyphCacheFont::LiveFontCount(), before + 1);
        FakePlatformFont* first = make();
        font.SetFromHFont(first, FontOwnsHandle);
        font.SetFromHFont(first, FontOwnsHandle);
        EXPECT_EQ(deleted, 0);
        unowned = make();
        font.SetFromHFont(unowned, 0);
        EXPECT_EQ(deleted, 1);
        font.SetFromHFont(make(), FontOwnsHandle);
        EXPECT_EQ(deleted, 1) << "a handle the font did not own stays";
        ASSERT_NE(font.GlyphScratch(), nullptr);
        EXPECT_GE(font.GlyphScratch()->Width(), 256);
    }
    EXPECT_EQ(deleted, 2);
    delete unowned;
    EXPECT_EQ(GlyphCacheFont::LiveFontCount(), before);
}
