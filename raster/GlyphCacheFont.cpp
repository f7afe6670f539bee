#include "raster/GlyphCacheFont.h"

#include <algorithm>
#include <atomic>
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
#include "raster/TextAlign.h"
#include "raster/Utf8Text.h"

namespace {

// Process-wide; any thread.
std::atomic<int> liveFonts{0};
std::atomic<GlyphCacheFont::CompatibilityLayer> probeResult{GlyphCacheFont::CompatibilityLayer::NotProbed};

constexpr int kEffectFlags =
    FontAsciiOnly | FontVertical | FontBottomUp | FontBlur | FontInvert | FontMono | FontShadow | FontOutline;
// Glyphs stored as two levels (ink 255, effect 128, nothing 0) instead of coverage.
constexpr int kTwoLevelFlags = FontMono | FontShadow | FontOutline;
constexpr unsigned kOwnTextFlags = TextUseColorAlpha | TextForceCached;

constexpr int kOpaqueBackground = 2;
constexpr int kGlyphScratchSide = 256;
// Coverage above this counts as ink in two-level glyphs.
constexpr uint8_t kInkThreshold = 130;
constexpr uint8_t kInk = 255;
constexpr uint8_t kEffectLevel = 128;
// 1/255 as the double the text weights have always been computed with.
constexpr double kOneOver255 = 0.00392156862745098;

// Room left of the pen (and right of the advance) for ink that overhangs a character's box:
// where a glyph's pen sits in its render cell, and how far a platform-drawn text box is widened.
int Overhang(int lineHeight) {
    return lineHeight < 16 ? 2 : lineHeight / 16 + 2;
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
    --liveFonts;
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

DibBitmap& GlyphCacheFont::GlyphScratchOfSide(int side) {
    if (!glyphScratch_) glyphScratch_ = std::make_unique<DibBitmap>(side, side);
    if (glyphScratch_->Width() < side || glyphScratch_->Height() < side) glyphScratch_->Resize(side, side);
    return *glyphScratch_;
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
        GlyphScratchOfSide(kGlyphScratchSide);
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

namespace {

// A character drawn white on black at the left of the glyph scratch: its advance and the cell
// (width x height) that holds its ink.
struct RenderedCell {
    int advance;
    int width;
    int height;
};

// Draws ch with its pen at x = pen into a cleared cell of scratch; false when it has no extent.
bool RenderCell(PlatformFont& font, DibBitmap& scratch, uint16_t ch, int pen, bool blur, RenderedCell& cell) {
    int advance = 0, height = 0;
    if (!HasPixels(&scratch) || !font.MeasureCharacter(scratch, ch, advance, height)) advance = height = 0;
    advance = std::min(advance, scratch.Width());
    height = std::min(height, scratch.Height());
    if (advance < 1 || height < 1) return false;
    const int width = std::min(advance + 2 * pen, scratch.Width());
    FillRect(&scratch, 0, 0, width, height, 0x00000000u, 1.0f, BlendCopy);
    font.RenderCharacter(scratch, ch, TextRect{pen, 0, width, height});
    if (blur) Blur(&scratch, &scratch, 0, 0, 0, 0, width, height);
    cell = {advance, width, height};
    return true;
}

// Columns [first, last) of a cell that hold ink: the character's box [pen, pen + advance)
// widened by whatever ink lies outside it.
struct InkColumns {
    int first;
    int last;
};

// Copies the cell's coverage (the red byte, inverted on request) into mask, row after row, and
// finds its ink columns from the raw coverage.
InkColumns CopyCoverage(DibBitmap& scratch, const RenderedCell& cell, int pen, uint8_t invert,
                        uint8_t* mask) {
    const int inkEnd = std::min(pen + cell.advance, cell.width);
    InkColumns ink = {pen, inkEnd};
    for (int y = 0; y < cell.height; ++y) {
        const uint32_t* row = ImageRow(scratch, y);
        uint8_t* out = mask + static_cast<ptrdiff_t>(y) * cell.width;
        for (int x = 0; x < cell.width; ++x) {
            const auto red = static_cast<uint8_t>(row[x] >> 16);
            out[x] = red ^ invert;
            if (red != 0) {
                if (x < ink.first) ink.first = x;
                if (x >= inkEnd && x + 1 > ink.last) ink.last = x + 1;
            }
        }
    }
    return ink;
}

// Moves the ink columns of each row of a cellWidth-wide mask to the front, rows packed.
void CropToInk(uint8_t* mask, int cellWidth, int height, InkColumns ink) {
    const int width = ink.last - ink.first;
    for (int y = 0; y < height; ++y)
        std::memmove(mask + static_cast<ptrdiff_t>(y) * width,
                     mask + static_cast<ptrdiff_t>(y) * cellWidth + ink.first, static_cast<size_t>(width));
}

// Turns a width x height mask a quarter turn (clockwise for text running down, the other way
// for text running up); temp holds at least width x height bytes. Exchanges width and height.
void TurnQuarter(uint8_t* mask, int& width, int& height, bool bottomUp, uint8_t* temp) {
    std::memcpy(temp, mask, static_cast<size_t>(width) * static_cast<size_t>(height));
    const int turnedWidth = height, turnedHeight = width;
    for (int i = 0; i < turnedHeight; ++i)
        for (int j = 0; j < turnedWidth; ++j)
            mask[i * turnedWidth + j] =
                bottomUp ? temp[j * width + (width - 1 - i)] : temp[(height - 1 - j) * width + i];
    width = turnedWidth;
    height = turnedHeight;
}

void Threshold(uint8_t* mask, intptr_t count) {
    for (intptr_t i = 0; i < count; ++i) mask[i] = mask[i] > kInkThreshold ? kInk : 0;
}

// Marks the empty pixels next to ink with the effect level: a shadow falls to the lower right,
// an outline surrounds the ink. Only ink counts as a neighbour, so the effect does not spread.
void AddShadowOrOutline(uint8_t* mask, int width, int height, bool shadow) {
    auto ink = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < height && mask[y * width + x] == kInk;
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t& m = mask[y * width + x];
            if (m != 0) continue;
            const bool near = shadow ? ink(x - 1, y) || ink(x - 1, y - 1) || ink(x, y - 1)
                                     : ink(x, y - 1) || ink(x, y + 1) || ink(x - 1, y) || ink(x + 1, y);
            if (near) m = kEffectLevel;
        }
}

}  // namespace

bool GlyphCacheFont::RenderGlyph(int code) {
    if (lineHeight_ > kMaxCachedLineHeight || !handle_ || code < 0 || code > 0xFFFF) return false;
    if (GlyphRecord* record = MutableGlyph(code)) {
        *record = RenderRecord(code);
        return true;
    }
    if (flags_ & FontAsciiOnly) return false;
    // The record goes in before the glyph is rendered: no store is spent on a glyph that
    // could not be recorded.
    const GlyphRecord fresh = {0, 0, 0, 0, code, 0};
    if (!extended_.Append(&fresh, sizeof fresh)) return false;
    auto* begin = static_cast<GlyphRecord*>(extended_.Data());
    GlyphRecord* const end = begin + ExtendedCount();
    end[-1] = RenderRecord(code);
    std::sort(begin, end, [](const GlyphRecord& a, const GlyphRecord& b) { return a.code < b.code; });
    return true;
}

GlyphRecord GlyphCacheFont::RenderRecord(int code) {
    const GlyphRecord nothing = {-1, 0, 0, 0, code, 0};
    DibBitmap& scratch = GlyphScratchOfSide(std::max(lineHeight_, 1) * 2 + 8);
    const int pen = Overhang(lineHeight_);
    RenderedCell cell{};
    if (!RenderCell(*handle_, scratch, static_cast<uint16_t>(code), pen, flags_ & FontBlur, cell))
        return nothing;

    const intptr_t start = store_.Size();
    if (!store_.Resize(start + static_cast<intptr_t>(cell.width) * cell.height)) return nothing;
    auto* mask = static_cast<uint8_t*>(store_.Data()) + start;
    const InkColumns ink = CopyCoverage(scratch, cell, pen, (flags_ & FontInvert) ? 0xFF : 0x00, mask);
    int width = cell.width, height = cell.height;
    if (ink.first > 0 || ink.last < cell.width) {
        CropToInk(mask, cell.width, height, ink);
        width = ink.last - ink.first;
        store_.Resize(start + static_cast<intptr_t>(width) * height);
        mask = static_cast<uint8_t*>(store_.Data()) + start;
    }
    // The scratch's pixels (side x side words) easily hold the width x height bytes.
    if (flags_ & FontVertical)
        TurnQuarter(mask, width, height, flags_ & FontBottomUp, reinterpret_cast<uint8_t*>(scratch.Bits()));
    if (flags_ & kTwoLevelFlags) Threshold(mask, static_cast<intptr_t>(width) * height);
    if (flags_ & (FontShadow | FontOutline)) AddShadowOrOutline(mask, width, height, flags_ & FontShadow);
    return {static_cast<int32_t>(start + 1), width, height, cell.advance, code, pen - ink.first};
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
        CompatibilityLayer layer = probeResult;
        if (layer == CompatibilityLayer::NotProbed) {
            // Fonts on other threads may probe at the same time; they all find the same answer.
            layer = ProbeCompatibilityLayer() ? CompatibilityLayer::Present : CompatibilityLayer::Absent;
            probeResult = layer;
        }
        if (layer == CompatibilityLayer::Absent && !(textFlags & TextUseColorAlpha) &&
            !(flags_ & kEffectFlags))
            return true;
    }
    return lineHeight_ >= kPlatformOnlyLineHeight;
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

    // Elsewhere the text is drawn in the text scratch and copied back at the font's alpha.
    if (!textScratch_) textScratch_ = std::make_unique<DibBitmap>(4, 4);
    DibBitmap& scratch = *textScratch_;
    if (!handle_->CanDrawText(scratch)) return 0;
    TextRect measured = {0, 0, 0, 0};
    const int result =
        handle_->DrawTextDirect(scratch, text, byteCount, measured,
                                (textFlags & ~TextAlignMask) | TextCalcRect | TextNoPrefix, colours);
    const long long width = measured.right - measured.left, height = measured.bottom - measured.top;
    if (textFlags & TextCalcRect) {
        rect->right = ClampToInt(rect->left + width);
        rect->bottom = ClampToInt(rect->top + height);
        return result;
    }
    if (!bitmap) return 0;

    const long long x = AlignedLeft(*rect, width, textFlags, TextCentring::HalfOfEdgeSum);
    const long long y = AlignedTop(*rect, height, textFlags, TextCentring::HalfOfEdgeSum);
    long long left = std::max(x, 0LL), top = std::max(y, 0LL);
    long long right = std::min<long long>(x + width, bitmap->Width());
    long long bottom = std::min<long long>(y + height, bitmap->Height());
    if (!(textFlags & TextNoClip)) {
        left = std::max<long long>(left, rect->left), top = std::max<long long>(top, rect->top);
        right = std::min<long long>(right, rect->right), bottom = std::min<long long>(bottom, rect->bottom);
    }
    if (right <= left || bottom <= top) return 0;
    left -= std::min<long long>(left, Overhang(lineHeight_));

    const int boxWidth = static_cast<int>(right - left), boxHeight = static_cast<int>(bottom - top);
    if (scratch.Width() < boxWidth || scratch.Height() < boxHeight) scratch.Resize(boxWidth, boxHeight);
    if (!HasPixels(&scratch)) return 0;
    const BlitSourceRect box = {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                                static_cast<int>(bottom)};
    Blit(&scratch, bitmap, 0, 0, &box, 1.0f, BlendCopy);
    TextRect placed = {ClampToInt(x - left), ClampToInt(y - top), ClampToInt(x - left + width),
                       ClampToInt(y - top + height)};
    const int drawn = handle_->DrawTextDirect(
        scratch, text, byteCount, placed, (textFlags & ~TextAlignMask) | TextNoClip | TextNoPrefix, colours);
    BlitRect(bitmap, &scratch, box.left, box.top, 0, 0, boxWidth, boxHeight, alpha_, BlendCopy);
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
        alpha_ = static_cast<float>(alpha_ * ((foreground_ >> 24) * kOneOver255));
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
        x = AlignedLeft(*rect, w, textFlags, TextCentring::HalfOfRoom);
        y = AlignedTop(*rect, h, textFlags, TextCentring::HalfOfRoom);
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

struct GlyphCacheFont::GlyphArea {
    int x, y, width, height;  // where the visible part lands
    const uint8_t* mask;      // its first mask byte
    ptrdiff_t maskPitch;      // bytes from one mask row to the next
};

// Calls op(pixel, level) for every pixel of the area with a non-zero mask byte and stores the
// answer.
template <class Op>
void GlyphCacheFont::ForEachInked(RasterBitmap& bitmap, const GlyphArea& area, Op op) {
    for (int row = 0; row < area.height; ++row) {
        uint32_t* d = ImageRow(bitmap, area.y + row) + area.x;
        const uint8_t* m = area.mask + row * area.maskPitch;
        for (int i = 0; i < area.width; ++i)
            if (m[i] != 0) d[i] = op(d[i], m[i]);
    }
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

    // The mask starts before the pen by the glyph's left offset, along the line's direction.
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
    const GlyphArea area = {
        static_cast<int>(clip.left + across.start),
        static_cast<int>(clip.top + down.start),
        static_cast<int>(across.length),
        static_cast<int>(down.length),
        mask + static_cast<ptrdiff_t>(down.skipped) * g->width + static_cast<ptrdiff_t>(across.skipped),
        g->width};

    if (backgroundMode_ == kOpaqueBackground)
        FillRect(bitmap, area.x, area.y, area.width, area.height, background_, alpha_,
                 combineMode_ & ~BlendUseSourceAlpha);
    if (flags_ & kTwoLevelFlags)
        CompositeLevels(*bitmap, area);
    else
        CompositeCoverage(*bitmap, area);
    return true;
}

// Ink in the foreground colour, the effect level in the effect colour (mono: foreground too),
// each at the font's weight.
void GlyphCacheFont::CompositeLevels(RasterBitmap& bitmap, const GlyphArea& area) const {
    const int w = std::min(blend::WeightFromAlpha(alpha_), 256);
    if (w == 0) return;
    const uint32_t ink = foreground_, effect = (flags_ & FontMono) ? foreground_ : effect_;
    const int rule = combineMode_ & BlendModeMask;
    if (alpha_ == 1.0f && rule == BlendCopy) {
        ForEachInked(bitmap, area, [&](uint32_t, uint8_t c) { return c == kInk ? ink : effect; });
        return;
    }
    blend::WithPlainRule(rule, w, [&](auto r) {
        using Rule = decltype(r);
        ForEachInked(bitmap, area,
                     [&](uint32_t d, uint8_t c) { return Rule::Apply(d, c == kInk ? ink : effect, 255, w); });
    });
}

// The foreground colour weighted by each pixel's coverage and the font's weight.
void GlyphCacheFont::CompositeCoverage(RasterBitmap& bitmap, const GlyphArea& area) const {
    const int w = blend::WeightFromAlpha(alpha_);
    if (w == 0) return;
    const uint32_t colour = foreground_;
    // The per-pixel weights never exceed 256, which picks the rules' width.
    blend::WithPlainRule(combineMode_ & BlendModeMask, 256, [&](auto r) {
        using Rule = decltype(r);
        if (w == 256)
            ForEachInked(bitmap, area,
                         [&](uint32_t d, uint8_t c) { return Rule::Apply(d, colour, 255, c + 1); });
        else
            ForEachInked(bitmap, area, [&](uint32_t d, uint8_t c) {
                return Rule::Apply(d, colour, 255, std::min(w * c / 256, 256));
            });
    });
}
