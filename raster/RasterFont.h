#pragma once

#include <cstdint>

#include "raster/PlatformFont.h"
#include "raster/RasterBitmap.h"
#include "raster/TextRect.h"

// Font flags, given to SetFromHFont.
enum FontFlagBits : int {
    FontVertical = 0x1,        // text runs downwards; glyphs are stored turned a quarter turn
    FontBottomUp = 0x2,        // with FontVertical: text runs upwards, glyphs turned the other way
    FontAsciiOnly = 0x4,       // render 0-127 when the font is set; never cache anything else
    FontBlur = 0x10,           // blur each rendered glyph before taking its coverage
    FontInvert = 0x20,         // store 255 - coverage
    FontMono = 0x40,           // coverage thresholded to 0 or 255
    FontShadow = 0x80,         // thresholded glyph plus a 128-valued shadow to the lower right
    FontOutline = 0x100,       // thresholded glyph plus a 128-valued one-pixel outline
    FontOwnsHandle = 0x200,    // the font deletes its platform font when replaced or destroyed
    FontPreferNative = 0x400,  // use the platform renderer when allowed
};

// Text flags, given to DrawString: the platform's DrawText values that the font interprets
// (all others go unchanged to the platform renderer), plus two of its own.
enum TextFlagBits : unsigned {
    TextCenter = 0x1,
    TextRight = 0x2,
    TextVCenter = 0x4,
    TextBottom = 0x8,
    TextSingleLine = 0x20,
    TextNoClip = 0x100,
    TextCalcRect = 0x400,
    TextNoPrefix = 0x800,
    TextAlignMask = TextCenter | TextRight | TextVCenter | TextBottom,
    // Multiply the font's alpha by the foreground colour's alpha / 255 for this call.
    TextUseColorAlpha = 0x40000000u,
    // Never use the platform renderer.
    TextForceCached = 0x80000000u,
};

// A font that draws UTF-8 text into a RasterBitmap. One thread at a time per font; see the
// implementation for what may be shared between fonts.
class RasterFont {
  public:
    virtual ~RasterFont() = default;

    // Takes a platform font (null for none) with the given font flags; clears the glyph cache.
    virtual void SetFromHFont(PlatformFont* handle, int flags) = 0;
    // Colours are 0xAARRGGBB; each setter answers the previous value.
    virtual uint32_t SetForegroundColor(uint32_t argb) = 0;
    virtual uint32_t SetBackgroundColor(uint32_t argb) = 0;
    virtual uint32_t SetEffectColor(uint32_t argb) = 0;
    // 1 transparent, 2 opaque.
    virtual int SetBackgroundMode(int mode) = 0;
    // Blend mode word (BlendMode.h) and weight for the cached renderer.
    virtual void SetCombineMode(int mode, float alpha) = 0;
    // Draws (or with TextCalcRect measures) byteCount bytes of UTF-8 text (-1: up to the NUL)
    // into rect. Answers the text's extent across its lines, 0 when nothing was done. bitmap
    // may be null only with TextCalcRect.
    virtual int DrawString(RasterBitmap* bitmap, const char* text, int byteCount, TextRect* rect,
                           unsigned textFlags) = 0;
    virtual uint32_t ForegroundColor() = 0;
    virtual PlatformFont* FontHandle() = 0;
    virtual int LineHeight() = 0;

  protected:
    RasterFont() = default;
    RasterFont(const RasterFont&) = delete;
    RasterFont& operator=(const RasterFont&) = delete;
};
