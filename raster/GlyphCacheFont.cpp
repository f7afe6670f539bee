#include "raster/GlyphCacheFont.h"

GlyphCacheFont::GlyphCacheFont() = default;
GlyphCacheFont::~GlyphCacheFont() = default;
void GlyphCacheFont::SetFromHFont(PlatformFont* handle, int flags) {
    handle_ = handle;
    flags_ = flags;
}
uint32_t GlyphCacheFont::SetForegroundColor(uint32_t argb) {
    uint32_t old = foreground_;
    foreground_ = argb;
    return old;
}
uint32_t GlyphCacheFont::SetBackgroundColor(uint32_t argb) {
    uint32_t old = background_;
    background_ = argb;
    return old;
}
uint32_t GlyphCacheFont::SetEffectColor(uint32_t argb) {
    uint32_t old = effect_;
    effect_ = argb;
    return old;
}
int GlyphCacheFont::SetBackgroundMode(int mode) {
    int old = backgroundMode_;
    backgroundMode_ = mode;
    return old;
}
void GlyphCacheFont::SetCombineMode(int mode, float alpha) {
    combineMode_ = mode;
    alpha_ = alpha;
}
int GlyphCacheFont::DrawString(RasterBitmap*, const char*, int, TextRect*, unsigned) {
    return 0;
}
bool GlyphCacheFont::DrawGlyph(RasterBitmap*, int, int, int, const TextRect&) {
    return false;
}
