// The real platform fonts, identical on every target: "Arial" is the metric-compatible
// Liberation Sans on Linux and under Wine, sized as Windows reads a positive height.
#include "raster/PlatformFont.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>

#include "raster/GlyphCacheFont.h"
#include "raster/MemoryBitmap.h"
#include "tests/raster/RasterTestSupport.h"

namespace {

std::unique_ptr<GlyphCacheFont> Arial(int height, int weight = 400, int flags = FontOwnsHandle) {
    PlatformFontAttributes a;
    a.height = height;
    a.weight = weight;
    std::strcpy(a.face, "Arial");
    PlatformFont* handle = CreatePlatformFont(a);
    if (!handle) return nullptr;
    auto font = std::make_unique<GlyphCacheFont>();
    font->SetFromHFont(handle, flags);
    return font;
}

int Advance(GlyphCacheFont& font, int code) {
    font.RenderGlyph(code);
    const GlyphRecord* g = font.FindGlyph(code);
    return g ? g->advance : -1;
}

}  // namespace

// Metrics the knob texts depend on, the same on Linux and Windows.
TEST(PlatformFont, ArialMetricsMatchAcrossTargets) {
    auto font = Arial(15);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->LineHeight(), 15);
    EXPECT_EQ(Advance(*font, '5'), 7);
    EXPECT_EQ(Advance(*font, '0'), 7);
    EXPECT_EQ(Advance(*font, 'm'), 11);
    EXPECT_EQ(Advance(*font, 's'), 7);
    EXPECT_EQ(Advance(*font, '%'), 12);
    for (int size : {9, 11, 22, 28}) EXPECT_EQ(Arial(size)->LineHeight(), size);
    auto bold = Arial(15, 700);
    EXPECT_GT(Advance(*bold, 'm'), Advance(*font, 'm'));
}

// Glyphs come from the platform as anti-aliased grey levels, cropped to their ink.
TEST(PlatformFont, GlyphsAreAntiAliasedMasks) {
    auto font = Arial(22);
    ASSERT_TRUE(font);
    ASSERT_TRUE(font->RenderGlyph('O'));
    const GlyphRecord* g = font->FindGlyph('O');
    const uint8_t* mask = font->GlyphMask(*g);
    ASSERT_NE(mask, nullptr);
    std::set<uint8_t> levels(mask, mask + g->width * g->height);
    EXPECT_GT(levels.size(), 4u);
    EXPECT_EQ(g->height, 22);
    EXPECT_LE(g->width, g->advance + 2);

    // An unknown face still gives a font (the platform's fallback).
    PlatformFontAttributes a;
    a.height = 12;
    std::strcpy(a.face, "No Such Face Anywhere");
    std::unique_ptr<PlatformFont> fallback(CreatePlatformFont(a));
    EXPECT_NE(fallback, nullptr);
}

// The editor's fonts draw the knob value centred in translucent white, inside the measured box.
TEST(PlatformFont, EditorFontDrawsCentredTranslucentText) {
    auto font = Arial(15, 400, FontOwnsHandle | FontPreferNative);
    ASSERT_TRUE(font);
    MemoryBitmap b(100, 30, 4);
    Fill(b, 0xFF000000u);
    font->SetForegroundColor(0xC8FFFFFFu);
    TextRect r = {0, 5, 100, 25};
    EXPECT_GT(font->DrawString(&b, "500ms", -1, &r, TextCenter | TextNoClip | TextUseColorAlpha), 0);
    int left = 100, right = -1, brightest = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) {
            const int red = static_cast<int>(PixelAt(b, x, y) >> 16 & 0xFF);
            if (red == 0) continue;
            left = std::min(left, x), right = std::max(right, x);
            brightest = std::max(brightest, red);
            EXPECT_GE(y, 5);
            EXPECT_LT(y, 20);
        }
    // "500ms" advances to 39 pixels: centred it spans about 31..69.
    EXPECT_NEAR(left, 31, 2);
    EXPECT_NEAR(right, 69, 2);
    EXPECT_LE(brightest, 201) << "alpha 200 of 255 keeps the white translucent";
    EXPECT_GE(brightest, 190);

    // Plain opaque text (the platform's own renderer where it is used) lands in the same place.
    MemoryBitmap plain(100, 30, 4);
    Fill(plain, 0xFF000000u);
    font->SetForegroundColor(0xFFFFFFFFu);
    TextRect p = {0, 5, 100, 25};
    EXPECT_GT(font->DrawString(&plain, "500ms", -1, &p, TextNoClip), 0);
    int plainLeft = 100;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            if (PixelAt(plain, x, y) != 0xFF000000u) plainLeft = std::min(plainLeft, x);
    EXPECT_LE(plainLeft, 2);
}
