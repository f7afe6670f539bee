#include "editor/EditorText.h"

// No font backend is linked yet: no font can be made, so labels answer false.
namespace EditorText {

GlyphCacheFont* MakeFont(const ITextStyle&) {
    return nullptr;
}

void DestroyFont(GlyphCacheFont*) {}

bool Draw(GlyphCacheFont*, RasterBitmap*, const char*, const IPixelRect&, uint32_t, int32_t) {
    return false;
}

}  // namespace EditorText
