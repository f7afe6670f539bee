#pragma once

#include <cstdint>

#include "editor/IPixelRect.h"
#include "editor/ITextStyle.h"

class GlyphCacheFont;
class RasterBitmap;

// The text library as the editor uses it: making, destroying and drawing with the fonts of the
// font cache. Kept in one place so that the rest of the editor does not depend on how fonts are
// made.
namespace EditorText {

// A new font for the style (size, orientation, style bits, quality, face), owned by the caller;
// null when the platform refuses.
GlyphCacheFont* MakeFont(const ITextStyle& style);
void DestroyFont(GlyphCacheFont* font);
// Draws text (UTF-8, up to its terminator) into rect of dest in colour 0xAARRGGBB, never clipped
// to rect, aligned per ITextStyle::Align. False when nothing could be drawn. Any thread: holds the
// font's draw lock, so editors sharing a font from the cache may draw at the same time.
bool Draw(GlyphCacheFont* font, RasterBitmap* dest, const char* text, const IPixelRect& rect, uint32_t colour,
          int32_t align);

}  // namespace EditorText
