#pragma once

#include <cstdint>

#include "raster/RasterBitmap.h"
#include "raster/TextRect.h"

// What the editor asks of a platform font when it creates one (the CreateFont attributes).
// height > 0 asks for that cell height (ascent + descent), height < 0 for that em size, 0 for
// the platform's default.
struct PlatformFontAttributes {
    int height = 0;
    int width = 0;
    int escapement = 0;   // tenths of a degree
    int orientation = 0;  // tenths of a degree
    int weight = 400;     // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 1;  // default character set
    int outPrecision = 0;
    int clipPrecision = 0;
    int quality = 0;  // 0 default, 3 non-antialiased, 4 antialiased, 5 ClearType
    int pitchAndFamily = 0;
    char face[32] = {};
};

// Colours of the platform's own text renderer: foreground 0xAARRGGBB (its alpha is not used),
// background mode 1 transparent or 2 opaque, background colour for mode 2.
struct PlatformTextColours {
    uint32_t foreground;
    int backgroundMode;
    uint32_t background;
};

// A font of the platform's text services: the handle GlyphCacheFont draws with. One thread at a
// time per font (its GlyphCacheFont's); different fonts may be used on different threads at once.
class PlatformFont {
  public:
    virtual ~PlatformFont() = default;

    // Line height in pixels (the text metrics' height).
    virtual int PixelHeight() = 0;

    // Advance and height of one UTF-16 character measured alone on one line; false when the
    // platform cannot measure (no drawing context in scratch where one is needed).
    virtual bool MeasureCharacter(RasterBitmap& scratch, uint16_t code, int& advance, int& height) = 0;

    // Draws one character white on black into scratch, anti-aliased in grey levels, with its pen
    // at (box.left, box.top); the coverage lands in every colour byte. Pixels outside scratch
    // stay untouched; ink may spill out of box (no clipping to it).
    virtual void RenderCharacter(RasterBitmap& scratch, uint16_t code, const TextRect& box) = 0;

    // Whether DrawTextDirect can draw into target directly (the platform's fast path).
    virtual bool CanDrawText(RasterBitmap& target) = 0;

    // The platform's own renderer with DrawText semantics: UTF-8 text of byteCount bytes (-1 up
    // to its NUL), text flags as GlyphCacheFont takes them, colours as given. With the
    // calculate-rect flag only measures into rect. Returns the text height, 0 on failure.
    virtual int DrawTextDirect(RasterBitmap& target, const char* text, int byteCount, TextRect& rect,
                               unsigned textFlags, const PlatformTextColours& colours) = 0;

  protected:
    PlatformFont() = default;
    PlatformFont(const PlatformFont&) = delete;
    PlatformFont& operator=(const PlatformFont&) = delete;
};

// Creates a font of the platform's text services, or null when the platform refuses. Any thread.
PlatformFont* CreatePlatformFont(const PlatformFontAttributes& attributes);

// Looks once for a compatibility layer that runs us in place of the real platform (Windows:
// the registry key HKEY_LOCAL_MACHINE\Software\Wine). Elsewhere always false. Any thread.
bool ProbeCompatibilityLayer();
