#include "raster/GlyphCacheFont.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>

#include "raster/BlendMode.h"
#include "raster/BlendRules.h"
#include "raster/Blit.h"
#include "raster/Blur.h"
#include "raster/ClippedSpan.h"
#include "raster/FillRect.h"
#include "raster/PixelRows.h"
#include "raster/Utf8Text.h"

namespace {

// Process-wide, touched only from the user-interface thread.
int liveFonts = 0;
DibBitmap* glyphScratch = nullptr;
DibBitmap* textScratch = nullptr;
GlyphCacheFont::CompatibilityLayer probeResult = GlyphCacheFont::CompatibilityLayer::NotProbed;

constexpr int kEffectFlags =
    FontAsciiOnly | FontVertical | FontBottomUp | FontBlur | FontInvert | FontMono | FontShadow | FontOutline;
constexpr unsigned kOwnTextFlags = TextUseColorAlpha | TextForceCached;

// Makes sure the glyph scratch exists and is at least side x side.
DibBitmap* GlyphScratchOfSide(int side) {
    if (!glyphScratch) glyphScratch = new DibBitmap(side, side);
    if (glyphScratch->Width() < side || glyphScratch->Height() < side) glyphScratch->Resize(side, side);
    return glyphScratch;
}

// Reads the characters of a text one by one: stops at a NUL or when byteCount bytes are used up (a negative
// count runs up to the NUL). Decoding never looks past the count.
class CharacterReader {
  public:
    CharacterReader(const char* text, int byteCount)
        : bytes_(reinterpret_cast<const unsigned char*>(text)), left_(byteCount) {}

    bool Next(int& code) {
        if (left_ == 0 || *bytes_ == 0) return false;
        Utf8Char c = DecodeUtf8(bytes_, left_);
        bytes_ += c.length;
        if (left_ > 0) left_ -= c.length;
        code = c.code;
        return true;
    }

  private:
    const unsigned char* bytes_;
    int left_;
};

// Pen positions and extents are kept in 64 bits so that long texts and extreme rectangles cannot
// overflow; results are held within the int range.
int ClampToInt(long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

// Whether a pen coordinate can be handed to DrawGlyph (anything beyond is far off any bitmap).
bool FitsPen(long long v) {
    return v >= INT32_MIN / 2 && v <= INT32_MAX / 2;
}

}  // namespace

GlyphCacheFont::GlyphCacheFont() {
    ++liveFonts;
}

GlyphCacheFont::~GlyphCacheFont() {
    if ((flags_ & FontOwnsHandle) && handle_) delete handle_;
    if (--liveFonts == 0) {
        delete glyphScratch;
        delete textScratch;
        glyphScratch = textScratch = nullptr;
    }
}

GlyphCacheFont::CompatibilityLayer GlyphCacheFont::ProbeResult() {
    return probeResult;
}

void GlyphCacheFont::SetProbeResultForTesting(CompatibilityLayer result) {
    probeResult = result;
}

int GlyphCacheFont::LiveFontCount() {
    return liveFonts;
}

DibBitmap* GlyphCacheFont::GlyphScratch() {
    return glyphScratch;
}

DibBitmap* GlyphCacheFont::TextScratch() {
    return textScratch;
}

uint32_t GlyphCacheFont::SetForegroundColor(uint32_t argb) {
    return std::exchange(foreground_, argb);
}

uint32_t GlyphCacheFont::SetBackgroundColor(uint32_t argb) {
    return std::exchange(background_, argb);
}

uint32_t GlyphCacheFont::SetEffectColor(uint32_t argb) {
    return std::exchange(effect_, argb);
}

int GlyphCacheFont::SetBackgroundMode(int mode) {
    return std::exchange(backgroundMode_, mode);
}

void GlyphCacheFont::SetCombineMode(int mode, float alpha) {
    combineMode_ = mode;
    alpha_ = alpha;
}

void GlyphCacheFont::SetFromHFont(PlatformFont* handle, int flags) {
    if ((flags_ & FontOwnsHandle) && handle_ && handle_ != handle) delete handle_;
    flags_ = flags;
    handle_ = handle;
    // Without a font nothing can be rendered; a stale height would still pick a renderer.
    lineHeight_ = 0;
    if (handle_) {
        GlyphScratchOfSide(256);
        lineHeight_ = handle_->PixelHeight();
    }
    ClearCache();
    if (flags_ & FontAsciiOnly)
        for (int code = 0; code < 128; ++code) RenderGlyph(code);
}

void GlyphCacheFont::ClearCache() {
    std::memset(ascii_, 0, sizeof ascii_);
    extended_.Resize(0);
    store_.Resize(0);
}

int GlyphCacheFont::ExtendedCount() const {
    return static_cast<int>(extended_.Size() / static_cast<intptr_t>(sizeof(GlyphRecord)));
}

const GlyphRecord* GlyphCacheFont::FindGlyph(int code) const {
    if (code < 0) return nullptr;
    if (code < 128) return &ascii_[code];
    const auto* begin = static_cast<const GlyphRecord*>(extended_.Data());
    const GlyphRecord* end = begin + ExtendedCount();
    const GlyphRecord* it =
        std::lower_bound(begin, end, code, [](const GlyphRecord& r, int c) { return r.code < c; });
    return it != end && it->code == code ? it : nullptr;
}

GlyphRecord* GlyphCacheFont::MutableGlyph(int code) {
    return const_cast<GlyphRecord*>(FindGlyph(code));
}

const uint8_t* GlyphCacheFont::GlyphMask(const GlyphRecord& record) const {
    if (record.offset <= 0 || record.width < 0 || record.height < 0) return nullptr;
    const intptr_t start = record.offset - 1;
    const intptr_t bytes = static_cast<intptr_t>(record.width) * record.height;
    if (start + bytes > store_.Size()) return nullptr;
    return static_cast<const uint8_t*>(store_.Data()) + start;
}

bool GlyphCacheFont::RenderGlyph(int code) {
    if (lineHeight_ > 1023 || !handle_ || code < 0 || code > 0xFFFF) return false;

    bool appended = false;
    GlyphRecord* record = MutableGlyph(code);
    if (!record) {
        if (flags_ & FontAsciiOnly) return false;
        GlyphRecord fresh = {0, 0, 0, 0, code, 0};
        if (!extended_.Append(&fresh, sizeof fresh)) return false;
        record = static_cast<GlyphRecord*>(extended_.Data()) + ExtendedCount() - 1;
        appended = true;
    }
    auto finish = [&](bool result) {
        if (appended) {
            auto* begin = static_cast<GlyphRecord*>(extended_.Data());
            std::sort(begin, begin + ExtendedCount(),
                      [](const GlyphRecord& a, const GlyphRecord& b) { return a.code < b.code; });
        }
        return result;
    };

    DibBitmap* scratch = GlyphScratchOfSide(std::max(lineHeight_, 1) * 2 + 8);
    const int margin = lineHeight_ < 16 ? 0 : lineHeight_ / 16;
    const int pen = margin + 2;

    int advance = 0, height = 0;
    const auto ch = static_cast<uint16_t>(code);
    if (!HasPixels(scratch) || !handle_->MeasureCharacter(*scratch, ch, advance, height))
        advance = height = 0;
    advance = std::min(advance, scratch->Width());
    height = std::min(height, scratch->Height());
    if (advance < 1 || height < 1) {
        *record = {-1, 0, 0, 0, code, 0};
        return finish(true);
    }
    const int cellWidth = std::min(advance + 2 * margin + 4, scratch->Width());
    FillRect(scratch, 0, 0, cellWidth, height, 0x00000000u, 1.0f, BlendCopy);
    handle_->RenderCharacter(*scratch, ch, TextRect{pen, 0, cellWidth, height});
    record->advance = advance;
    if (flags_ & FontBlur) Blur(scratch, scratch, 0, 0, 0, 0, cellWidth, height);

    const intptr_t start = store_.Size();
    if (!store_.Resize(start + static_cast<intptr_t>(cellWidth) * height)) {
        *record = {-1, 0, 0, 0, code, 0};
        return finish(true);
    }
    uint8_t* mask = static_cast<uint8_t*>(store_.Data()) + start;
    const uint8_t invert = (flags_ & FontInvert) ? 0xFF : 0x00;
    const int inkEnd = std::min(pen + advance, cellWidth);
    int first = pen, last = inkEnd;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = ImageRow(*scratch, y);
        uint8_t* out = mask + static_cast<ptrdiff_t>(y) * cellWidth;
        for (int x = 0; x < cellWidth; ++x) {
            const auto red = static_cast<uint8_t>(row[x] >> 16);
            out[x] = red ^ invert;
            if (red != 0) {
                if (x < first) first = x;
                if (x >= inkEnd && x + 1 > last) last = x + 1;
            }
        }
    }
    int width = cellWidth;
    if (first > 0 || last < cellWidth) {
        width = last - first;
        for (int y = 0; y < height; ++y)
            std::memmove(mask + static_cast<ptrdiff_t>(y) * width,
                         mask + static_cast<ptrdiff_t>(y) * cellWidth + first, static_cast<size_t>(width));
        store_.Resize(start + static_cast<intptr_t>(width) * height);
        mask = static_cast<uint8_t*>(store_.Data()) + start;
    }

    if (flags_ & FontVertical) {
        // The scratch's pixels (side x side words) easily hold the width x height bytes.
        auto* temp = reinterpret_cast<uint8_t*>(scratch->Bits());
        std::memcpy(temp, mask, static_cast<size_t>(width) * static_cast<size_t>(height));
        const int turnedWidth = height, turnedHeight = width;
        const bool bottomUp = flags_ & FontBottomUp;
        for (int i = 0; i < turnedHeight; ++i)
            for (int j = 0; j < turnedWidth; ++j)
                mask[i * turnedWidth + j] =
                    bottomUp ? temp[j * width + (width - 1 - i)] : temp[(height - 1 - j) * width + i];
        width = turnedWidth;
        height = turnedHeight;
    }

    const intptr_t count = static_cast<intptr_t>(width) * height;
    if (flags_ & (FontMono | FontShadow | FontOutline))
        for (intptr_t i = 0; i < count; ++i) mask[i] = mask[i] > 130 ? 255 : 0;
    if (flags_ & (FontShadow | FontOutline)) {
        const bool shadow = flags_ & FontShadow;
        auto ink = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < width && y < height && mask[y * width + x] == 255;
        };
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                uint8_t& m = mask[y * width + x];
                if (m != 0) continue;
                const bool near = shadow ? ink(x - 1, y) || ink(x - 1, y - 1) || ink(x, y - 1)
                                         : ink(x, y - 1) || ink(x, y + 1) || ink(x - 1, y) || ink(x + 1, y);
                if (near) m = 128;
            }
    }

    record->offset = static_cast<int32_t>(start + 1);
    record->width = width;
    record->height = height;
    record->leftOffset = pen - first;
    return finish(true);
}

const GlyphRecord* GlyphCacheFont::UsableGlyph(int code) {
    const GlyphRecord* record = FindGlyph(code);
    if (!record || record->offset == 0) {
        RenderGlyph(code);
        record = FindGlyph(code);
    }
    return record && GlyphMask(*record) ? record : nullptr;
}

bool GlyphCacheFont::UsesPlatformRenderer(unsigned textFlags) {
    if ((flags_ & FontPreferNative) && handle_ && !(textFlags & TextForceCached)) {
        if (probeResult == CompatibilityLayer::NotProbed)
            probeResult =
                ProbeCompatibilityLayer() ? CompatibilityLayer::Present : CompatibilityLayer::Absent;
        if (probeResult == CompatibilityLayer::Absent && !(textFlags & TextUseColorAlpha) &&
            !(flags_ & kEffectFlags))
            return true;
    }
    return lineHeight_ >= 256;
}

int GlyphCacheFont::DrawString(RasterBitmap* bitmap, const char* text, int byteCount, TextRect* rect,
                               unsigned textFlags) {
    if (!text || !rect || (!bitmap && !(textFlags & TextCalcRect))) return 0;
    if (UsesPlatformRenderer(textFlags)) return DrawPlatform(bitmap, text, byteCount, rect, textFlags);
    if (textFlags & TextCalcRect) return MeasureCached(text, byteCount, rect, textFlags);
    return DrawCached(bitmap, text, byteCount, rect, textFlags);
}

int GlyphCacheFont::DrawPlatform(RasterBitmap* bitmap, const char* text, int byteCount, TextRect* rect,
                                 unsigned textFlags) {
    if (!handle_) return 0;
    const PlatformTextColours colours = {foreground_, backgroundMode_, background_};
    textFlags &= ~kOwnTextFlags;
    if (bitmap && handle_->CanDrawText(*bitmap))
        return handle_->DrawTextDirect(*bitmap, text, byteCount, *rect, textFlags | TextNoPrefix, colours);

    // Elsewhere the text is drawn in TextScratch and copied back at the font's alpha.
    if (!textScratch) textScratch = new DibBitmap(4, 4);
    if (!handle_->CanDrawText(*textScratch)) return 0;
    TextRect measured = {0, 0, 0, 0};
    const int result =
        handle_->DrawTextDirect(*textScratch, text, byteCount, measured,
                                (textFlags & ~TextAlignMask) | TextCalcRect | TextNoPrefix, colours);
    const long long width = measured.right - measured.left, height = measured.bottom - measured.top;
    if (textFlags & TextCalcRect) {
        rect->right = ClampToInt(rect->left + width);
        rect->bottom = ClampToInt(rect->top + height);
        return result;
    }
    if (!bitmap) return 0;

    long long x = rect->left, y = rect->top;
    if (textFlags & TextCenter)
        x = (static_cast<long long>(rect->left) + rect->right - width) / 2;
    else if (textFlags & TextRight)
        x = rect->right - width;
    if (textFlags & TextVCenter)
        y = (static_cast<long long>(rect->top) + rect->bottom - height) / 2;
    else if (textFlags & TextBottom)
        y = rect->bottom - height;
    long long left = std::max(x, 0LL), top = std::max(y, 0LL);
    long long right = std::min<long long>(x + width, bitmap->Width());
    long long bottom = std::min<long long>(y + height, bitmap->Height());
    if (!(textFlags & TextNoClip)) {
        left = std::max<long long>(left, rect->left), top = std::max<long long>(top, rect->top);
        right = std::min<long long>(right, rect->right), bottom = std::min<long long>(bottom, rect->bottom);
    }
    if (right <= left || bottom <= top) return 0;
    left -= std::min<long long>(left, lineHeight_ < 16 ? 2 : lineHeight_ / 16 + 2);

    const int boxWidth = static_cast<int>(right - left), boxHeight = static_cast<int>(bottom - top);
    if (textScratch->Width() < boxWidth || textScratch->Height() < boxHeight)
        textScratch->Resize(boxWidth, boxHeight);
    if (!HasPixels(textScratch)) return 0;
    const BlitSourceRect box = {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                                static_cast<int>(bottom)};
    Blit(textScratch, bitmap, 0, 0, &box, 1.0f, BlendCopy);
    TextRect placed = {ClampToInt(x - left), ClampToInt(y - top), ClampToInt(x - left + width),
                       ClampToInt(y - top + height)};
    const int drawn =
        handle_->DrawTextDirect(*textScratch, text, byteCount, placed,
                                (textFlags & ~TextAlignMask) | TextNoClip | TextNoPrefix, colours);
    BlitRect(bitmap, textScratch, box.left, box.top, 0, 0, boxWidth, boxHeight, alpha_, BlendCopy);
    return drawn;
}

template <class Visit>
void GlyphCacheFont::WalkText(const char* text, int byteCount, unsigned textFlags, long long& x, long long& y,
                              Visit visit) {
    const long long lineX = x, lineY = y;
    CharacterReader reader(text, byteCount);
    for (int code; reader.Next(code);) {
        if (code == 13) continue;
        if (code == 10) {
            if (textFlags & TextSingleLine) {
                code = ' ';
            } else {
                if (flags_ & FontVertical)
                    x += lineHeight_, y = lineY;
                else
                    y += lineHeight_, x = lineX;
                continue;
            }
        }
        if (const GlyphRecord* g = UsableGlyph(code)) visit(g, code);
    }
}

int GlyphCacheFont::MeasureCached(const char* text, int byteCount, TextRect* rect, unsigned textFlags) {
    const bool vertical = flags_ & FontVertical;
    long long x = 0, y = 0, maxX = 0, maxY = 0;
    WalkText(text, byteCount, textFlags, x, y, [&](const GlyphRecord* g, int) {
        if (vertical) {
            maxY = std::max(maxY, y + g->height - g->leftOffset);
            y += g->advance;
            maxY = std::max(maxY, y);
            maxX = std::max(maxX, x + g->width);
        } else {
            maxX = std::max(maxX, x + g->width - g->leftOffset);
            x += g->advance;
            maxX = std::max(maxX, x);
            maxY = std::max(maxY, y + g->height);
        }
    });
    rect->right = ClampToInt(rect->left + maxX);
    rect->bottom = ClampToInt(rect->top + maxY);
    return ClampToInt(vertical ? maxX : maxY);
}

int GlyphCacheFont::DrawCached(RasterBitmap* bitmap, const char* text, int byteCount, TextRect* rect,
                               unsigned textFlags) {
    const float savedAlpha = alpha_;
    if (textFlags & TextUseColorAlpha)
        alpha_ = static_cast<float>(alpha_ * ((foreground_ >> 24) * 0.00392156862745098));
    struct RestoreAlpha {
        float& alpha;
        float saved;
        ~RestoreAlpha() { alpha = saved; }
    } restore{alpha_, savedAlpha};
    if (alpha_ == 0.0f) return 0;

    const bool vertical = flags_ & FontVertical;
    const bool bottomUp = vertical && (flags_ & FontBottomUp);
    long long x = rect->left, y = rect->top;
    if ((textFlags & TextAlignMask) || bottomUp) {
        TextRect measured = *rect;
        DrawString(bitmap, text, byteCount, &measured,
                   TextCalcRect | (textFlags & (TextSingleLine | TextForceCached)));
        const long long w = static_cast<long long>(measured.right) - measured.left;
        const long long h = static_cast<long long>(measured.bottom) - measured.top;
        if (textFlags & TextCenter)
            x += (rect->right - w - rect->left) / 2;
        else if (textFlags & TextRight)
            x = rect->right - w;
        if (textFlags & TextVCenter)
            y += (rect->bottom - h - rect->top) / 2;
        else if (textFlags & TextBottom)
            y = rect->bottom - h;
        if (bottomUp) y += h;
    }

    TextRect clip = {0, 0, bitmap->Width(), bitmap->Height()};
    if (!(textFlags & TextNoClip))
        clip = {std::max(rect->left, 0), std::max(rect->top, 0), std::min(rect->right, clip.right),
                std::min(rect->bottom, clip.bottom)};
    if (!HasPixels(bitmap) || clip.right <= clip.left || clip.bottom <= clip.top) return 0;

    const long long startX = x, startY = y;
    long long xExtent = startX, yExtent = startY;
    WalkText(text, byteCount, textFlags, x, y, [&](const GlyphRecord* g, int code) {
        if (bottomUp) y -= g->height;
        const bool drawn = FitsPen(x) && FitsPen(y) &&
                           DrawGlyph(bitmap, code, static_cast<int>(x), static_cast<int>(y), clip);
        if (vertical) {
            y += bottomUp ? g->height - g->advance : g->advance;
            if (drawn) xExtent = std::max(xExtent, x + g->width);
        } else {
            x += g->advance;
            if (drawn) yExtent = std::max(yExtent, y + g->height);
        }
    });
    return ClampToInt(vertical ? xExtent - startX : yExtent - startY);
}

bool GlyphCacheFont::DrawGlyph(RasterBitmap* bitmap, int code, int x, int y, const TextRect& clipRect) {
    const GlyphRecord* g = FindGlyph(code);
    if (!g || !HasPixels(bitmap)) return false;
    const uint8_t* mask = GlyphMask(*g);
    if (!mask) return false;
    // Callers may hand any rectangle: never draw outside the bitmap.
    const TextRect clip = {std::max(clipRect.left, 0), std::max(clipRect.top, 0),
                           std::min(clipRect.right, bitmap->Width()),
                           std::min(clipRect.bottom, bitmap->Height())};

    long long gx = x, gy = y;
    if (!(flags_ & FontVertical))
        gx -= g->leftOffset;
    else if (flags_ & FontBottomUp)
        gy -= g->leftOffset;
    else
        gy += g->leftOffset;
    const ClippedSpan across = ClippedSpan::Clip(gx - clip.left, g->width, clip.right - clip.left);
    const ClippedSpan down = ClippedSpan::Clip(gy - clip.top, g->height, clip.bottom - clip.top);
    if (across.Empty() || down.Empty()) return false;
    const int px = static_cast<int>(clip.left + across.start), py = static_cast<int>(clip.top + down.start);
    const int width = static_cast<int>(across.length), height = static_cast<int>(down.length);
    const auto skipX = static_cast<ptrdiff_t>(across.skipped), skipY = static_cast<ptrdiff_t>(down.skipped);

    const int rule = combineMode_ & BlendModeMask;
    if (backgroundMode_ == 2)
        FillRect(bitmap, px, py, width, height, background_, alpha_, combineMode_ & ~BlendUseSourceAlpha);

    int w = blend::WeightFromAlpha(alpha_);
    const uint32_t colour = foreground_;
    const uint8_t* maskStart = mask + skipY * g->width + skipX;
    auto forEachPixel = [&](auto op) {
        for (int row = 0; row < height; ++row) {
            uint32_t* d = ImageRow(*bitmap, py + row) + px;
            const uint8_t* m = maskStart + static_cast<ptrdiff_t>(row) * g->width;
            for (int i = 0; i < width; ++i)
                if (m[i] != 0) d[i] = op(d[i], m[i]);
        }
    };

    if (flags_ & (FontMono | FontShadow | FontOutline)) {
        if (w > 256) w = 256;
        if (w == 0) return true;
        const bool twoColours = !(flags_ & FontMono);
        const uint32_t second = twoColours ? effect_ : colour;
        if (alpha_ == 1.0f && rule == BlendCopy) {
            forEachPixel([&](uint32_t, uint8_t c) { return c == 255 ? colour : second; });
        } else {
            blend::WithPlainRule(rule, w, [&](auto r) {
                using Rule = decltype(r);
                forEachPixel([&](uint32_t d, uint8_t c) {
                    return Rule::Apply(d, c == 255 ? colour : second, 255, w);
                });
            });
        }
        return true;
    }

    if (w == 0) return true;
    // The per-pixel weights never exceed 256, which picks the rules' width.
    blend::WithPlainRule(rule, 256, [&](auto r) {
        using Rule = decltype(r);
        if (w == 256)
            forEachPixel([&](uint32_t d, uint8_t c) { return Rule::Apply(d, colour, 255, c + 1); });
        else
            forEachPixel([&](uint32_t d, uint8_t c) {
                return Rule::Apply(d, colour, 255, std::min(w * c / 256, 256));
            });
    });
    return true;
}
