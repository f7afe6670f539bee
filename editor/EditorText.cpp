#include "editor/EditorText.h"

#include <cstring>
#include <mutex>

#include "raster/GlyphCacheFont.h"
#include "raster/PlatformFont.h"

namespace EditorText {

GlyphCacheFont* MakeFont(const ITextStyle& style) {
    static constexpr int kQuality[] = {0, 3, 4, 5};  // default, non-antialiased, antialiased, ClearType
    PlatformFontAttributes attributes;
    attributes.height = style.size;
    attributes.width = 0;
    attributes.escapement = attributes.orientation = style.orientation * 10;
    attributes.weight = (style.style & ITextStyle::Bold) ? 700 : 400;
    attributes.italic = (style.style & ITextStyle::Italic) != 0;
    attributes.quality = style.quality >= 0 && style.quality <= 3 ? kQuality[style.quality] : 0;
    std::memcpy(attributes.face, style.face, strnlen(style.face, sizeof attributes.face - 1));
    PlatformFont* handle = CreatePlatformFont(attributes);
    if (handle == nullptr) return nullptr;
    auto* font = new GlyphCacheFont();
    font->SetFromHFont(handle, FontOwnsHandle | FontPreferNative);
    return font;
}

void DestroyFont(GlyphCacheFont* font) {
    delete font;
}

bool Draw(GlyphCacheFont* font, RasterBitmap* dest, const char* text, const IPixelRect& rect, uint32_t colour,
          int32_t align) {
    if (font == nullptr || dest == nullptr) return false;
    // The font is shared by every editor of the process, which may paint on their own threads.
    std::lock_guard<std::mutex> hold(font->DrawLock());
    font->SetForegroundColor(colour);
    unsigned flags = TextNoClip;
    if ((colour >> 24) != 255) flags |= TextUseColorAlpha;
    if (align == ITextStyle::AlignCentre) flags |= TextCenter;
    if (align == ITextStyle::AlignRight) flags |= TextRight;
    TextRect box{rect.left, rect.top, rect.right, rect.bottom};
    return font->DrawString(dest, text, -1, &box, flags) != 0;
}

}  // namespace EditorText
