#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "raster/DibBitmap.h"
#include "raster/PixelRows.h"
#include "raster/PlatformFont.h"

// One inked pixel of a fake glyph, relative to the pen (x may be negative: overhang).
struct FakeInk {
    int x;
    int y;
    uint8_t coverage;
};

struct FakeGlyph {
    int advance;
    std::vector<FakeInk> ink;
};

// A platform font with hand-made glyphs that counts what it is asked to do. Characters without
// a glyph of their own measure as a 3-pixel advance with a full-height bar in column 0.
class FakePlatformFont : public PlatformFont {
  public:
    explicit FakePlatformFont(int height) : height_(height) {}
    ~FakePlatformFont() override { ++*deleted; }

    int PixelHeight() override { return height_; }

    bool MeasureCharacter(RasterBitmap&, uint16_t code, int& advance, int& height) override {
        ++measured[code];
        advance = Glyph(code).advance;
        height = height_;
        return true;
    }

    void RenderCharacter(RasterBitmap& scratch, uint16_t code, const TextRect& box) override {
        ++rendered;
        for (const FakeInk& i : Glyph(code).ink) {
            const int x = box.left + i.x, y = box.top + i.y;
            if (x < 0 || y < 0 || x >= scratch.Width() || y >= scratch.Height()) continue;
            ImageRow(scratch, y)[x] = 0x010101u * i.coverage;
        }
    }

    bool CanDrawText(RasterBitmap& target) override {
        if (scratchOnly) return dynamic_cast<DibBitmap*>(&target) != nullptr;
        return directTarget == &target;
    }

    int DrawTextDirect(RasterBitmap& target, const char* text, int byteCount, TextRect& rect, unsigned flags,
                       const PlatformTextColours& colours) override {
        ++direct;
        lastText = byteCount < 0 ? std::string(text) : std::string(text, static_cast<size_t>(byteCount));
        lastFlags = flags;
        lastColours = colours;
        if (flags & 0x400) {
            rect.right = rect.left + 10, rect.bottom = rect.top + height_;
        } else {
            // Paints the rect in the foreground colour, so tests see where the text went.
            for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, target.Height()); ++y)
                for (int x = std::max(rect.left, 0); x < std::min(rect.right, target.Width()); ++x)
                    ImageRow(target, y)[x] = colours.foreground;
        }
        return height_;
    }

    FakeGlyph Glyph(uint16_t code) const {
        auto it = glyphs.find(code);
        if (it != glyphs.end()) return it->second;
        FakeGlyph bar = {3, {}};
        for (int y = 0; y < height_; ++y) bar.ink.push_back({0, y, 255});
        return bar;
    }

    std::map<uint16_t, FakeGlyph> glyphs;
    std::map<uint16_t, int> measured;
    int rendered = 0;
    int direct = 0;
    std::string lastText;
    unsigned lastFlags = 0;
    PlatformTextColours lastColours = {};
    RasterBitmap* directTarget = nullptr;
    bool scratchOnly = false;  // only DibBitmaps (TextScratch) can be drawn into
    int ownDeleted = 0;
    int* deleted = &ownDeleted;

  private:
    int height_;
};
