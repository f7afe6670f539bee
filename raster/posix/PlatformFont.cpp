// Platform fonts on Linux: fontconfig picks the face, FreeType renders it. Sizes follow the
// Windows rules, so that text lays out as it does there: a positive height is the cell height
// (the face's Windows ascent plus descent), a negative one the em size.
#include "raster/PlatformFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "raster/PixelRows.h"
#include "raster/RasterFont.h"
#include "raster/TextAlign.h"
#include "raster/Utf8Text.h"

namespace {

// FreeType and a private fontconfig configuration live exactly as long as fonts do: the last font
// gives them back, so a host that loads and unloads the plug-in loses no memory each time, and the
// host's own fontconfig state (its default configuration) is never touched.
//
// Threads: the library's lock guards the reference count and FreeType's library, which opening
// and closing a face change; a face alone is then used by one thread at a time (its font's).
struct FontLibraries {
    std::mutex lock;
    FT_Library freetype = nullptr;
    FcConfig* config = nullptr;
    int users = 0;
};

FontLibraries& Libraries() {
    static FontLibraries libraries;
    return libraries;
}

// Gives back one reference, closing face (if any) first.
void ReleaseLibraries(FT_Face face = nullptr) {
    FontLibraries& l = Libraries();
    std::lock_guard<std::mutex> hold(l.lock);
    if (face) FT_Done_Face(face);
    if (--l.users > 0) return;
    if (l.freetype) FT_Done_FreeType(l.freetype);
    if (l.config) FcConfigDestroy(l.config);
    l.freetype = nullptr;
    l.config = nullptr;
    l.users = 0;
}

// Takes one reference; false (and no reference) when either library cannot start.
bool AcquireLibraries(FT_Library& freetype, FcConfig*& config) {
    FontLibraries& l = Libraries();
    {
        std::lock_guard<std::mutex> hold(l.lock);
        if (l.users++ == 0) {
            if (FT_Init_FreeType(&l.freetype) != 0) l.freetype = nullptr;
            l.config = FcInitLoadConfigAndFonts();
        }
        freetype = l.freetype;
        config = l.config;
    }
    if (freetype && config) return true;
    ReleaseLibraries();
    return false;
}

// Opens a face of the shared library; null when FreeType cannot read it.
FT_Face OpenFace(FT_Library freetype, const std::string& file, int index) {
    std::lock_guard<std::mutex> hold(Libraries().lock);
    FT_Face face = nullptr;
    return FT_New_Face(freetype, file.c_str(), index, &face) == 0 ? face : nullptr;
}

// The face file fontconfig chooses for a family, weight and slant.
bool MatchFace(FcConfig* config, const PlatformFontAttributes& a, std::string& file, int& index) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    const char* family = a.face[0] ? a.face : "sans-serif";
    std::string face(family, strnlen(family, sizeof a.face));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, a.weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, a.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* path = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
    if (ok) {
        file = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    }
    FcPatternDestroy(match);
    return ok;
}

int MulDiv(long long a, long long b, long long c) {
    if (c == 0) return -1;
    long long p = a * b;
    long long q = (p >= 0) == (c > 0) ? (std::llabs(p) + std::llabs(c) / 2) / std::llabs(c)
                                      : -((std::llabs(p) + std::llabs(c) / 2) / std::llabs(c));
    return static_cast<int>(q);
}

constexpr int kOpaqueBackground = 2;
// Longest text measured up to its terminator.
constexpr size_t kMaxTextBytes = size_t{1} << 30;

// One line of text: its bytes and its width.
struct TextLine {
    const unsigned char* bytes;
    int count;
    long long width;
};

// A box in 64-bit pixels, right and bottom exclusive.
struct WideBox {
    long long left, top, right, bottom;
};

// Fills the part of box inside clip with colour.
void FillBox(RasterBitmap& target, const TextRect& clip, const WideBox& box, uint32_t colour) {
    const long long top = std::max<long long>(box.top, clip.top),
                    bottom = std::min<long long>(box.bottom, clip.bottom);
    const long long left = std::max<long long>(box.left, clip.left),
                    right = std::min<long long>(box.right, clip.right);
    for (long long py = top; py < bottom; ++py)
        for (long long px = left; px < right; ++px) ImageRow(target, static_cast<int>(py))[px] = colour;
}

class FreeTypeFont : public PlatformFont {
  public:
    FreeTypeFont(FT_Face face, bool mono) : face_(face), mono_(mono) {}
    ~FreeTypeFont() override { ReleaseLibraries(face_); }

    // Sizes the face the way Windows reads the requested height; false when it cannot be sized.
    bool SetHeight(int height) {
        const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
        long winAscent = 0, winDescent = 0;
        if (os2 && os2->version != 0xFFFF) winAscent = os2->usWinAscent, winDescent = os2->usWinDescent;
        long units = winAscent + winDescent;
        if (units == 0) {
            winAscent = face_->ascender, winDescent = -face_->descender;
            units = winAscent + winDescent;
        }
        if (units <= 0 || face_->units_per_EM == 0) return false;
        if (height == 0) height = 16;
        int ppem;
        if (height > 0) {
            ppem = MulDiv(face_->units_per_EM, height, units);
            // Rounding must not give a cell taller than asked for.
            if (ppem > 1 && MulDiv(units, ppem, face_->units_per_EM) > height) --ppem;
        } else {
            ppem = -height;
        }
        ppem = std::clamp(ppem, 1, 4096);
        if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(ppem)) != 0) return false;
        const FT_Fixed scale = face_->size->metrics.y_scale;
        ascent_ = static_cast<int>((FT_MulFix(winAscent, scale) + 32) >> 6);
        descent_ = static_cast<int>((FT_MulFix(winDescent, scale) + 32) >> 6);
        return ascent_ + descent_ > 0;
    }

    int PixelHeight() override { return ascent_ + descent_; }

    bool MeasureCharacter(RasterBitmap&, uint16_t code, int& advance, int& height) override {
        advance = Advance(code);
        height = PixelHeight();
        return true;
    }

    void RenderCharacter(RasterBitmap& scratch, uint16_t code, const TextRect& box) override {
        if (!HasPixels(&scratch)) return;
        DrawGlyph(scratch, code, box.left, box.top + ascent_, {0, 0, scratch.Width(), scratch.Height()},
                  [](uint32_t d, int c) {
                      const auto grey = static_cast<uint32_t>(std::max(c, static_cast<int>(d >> 16 & 0xFF)));
                      return grey << 16 | grey << 8 | grey;
                  });
    }

    bool CanDrawText(RasterBitmap& target) override { return HasPixels(&target); }

    int DrawTextDirect(RasterBitmap& target, const char* text, int byteCount, TextRect& rect, unsigned flags,
                       const PlatformTextColours& colours) override;

  private:
    // The text split at line feeds (carriage returns take no room; with singleLine a line feed
    // is a space), each line measured.
    std::vector<TextLine> SplitLines(const unsigned char* bytes, int length, bool singleLine);
    // Draws one line with its pen at x and its baseline at baseline, clipped to clip.
    void DrawLine(RasterBitmap& target, const TextLine& line, long long x, long long baseline,
                  const TextRect& clip, uint32_t foreground);

    // Loads code's glyph (hinted, as Windows loads it); false when there is none to load.
    bool Load(uint16_t code, bool render) {
        const FT_UInt index = FT_Get_Char_Index(face_, code);
        FT_Int32 loadFlags = FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP;
        if (mono_) loadFlags |= FT_LOAD_TARGET_MONO;
        if (FT_Load_Glyph(face_, index, loadFlags) != 0) return false;
        return !render ||
               FT_Render_Glyph(face_->glyph, mono_ ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0;
    }

    // Advances are asked for again on every measured text: loading a glyph each time would
    // cost more than drawing it from the cache, so they are remembered (-1 = not known yet).
    int Advance(uint16_t code) {
        if (advances_.empty()) advances_.assign(65536, -1);
        int16_t& known = advances_[code];
        if (known < 0) {
            const long advance = Load(code, false) ? (face_->glyph->metrics.horiAdvance + 32) >> 6 : 0;
            known = static_cast<int16_t>(std::clamp(advance, 0L, 32767L));
        }
        return known;
    }

    // Composites code's glyph with its pen at x and baseline at y, clipped to clip; op(d, c)
    // gives the new pixel for coverage c (1..255).
    template <class Op>
    void DrawGlyph(RasterBitmap& target, uint16_t code, long long x, long long baseline, const TextRect& clip,
                   Op op) {
        if (!Load(code, true)) return;
        const FT_Bitmap& bm = face_->glyph->bitmap;
        const long long left = x + face_->glyph->bitmap_left, top = baseline - face_->glyph->bitmap_top;
        for (unsigned row = 0; row < bm.rows; ++row) {
            const long long py = top + row;
            if (py < clip.top || py >= clip.bottom) continue;
            const unsigned char* src = bm.buffer + static_cast<ptrdiff_t>(row) * bm.pitch;
            uint32_t* dst = ImageRow(target, static_cast<int>(py));
            for (unsigned col = 0; col < bm.width; ++col) {
                const long long px = left + col;
                if (px < clip.left || px >= clip.right) continue;
                int c = bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((src[col >> 3] >> (7 - (col & 7))) & 1) * 255
                                                            : src[col];
                if (c != 0) dst[px] = op(dst[px], c);
            }
        }
    }

    FT_Face face_;
    bool mono_;
    int ascent_ = 0;
    int descent_ = 0;
    std::vector<int16_t> advances_;
};

int FreeTypeFont::DrawTextDirect(RasterBitmap& target, const char* text, int byteCount, TextRect& rect,
                                 unsigned flags, const PlatformTextColours& colours) {
    if (!text) return 0;
    const int length = byteCount < 0 ? static_cast<int>(strnlen(text, kMaxTextBytes)) : byteCount;
    const std::vector<TextLine> lines =
        SplitLines(reinterpret_cast<const unsigned char*>(text), length, flags & TextSingleLine);

    long long width = 0;
    for (const TextLine& l : lines) width = std::max(width, l.width);
    const int lineHeight = PixelHeight();
    const long long height = static_cast<long long>(lines.size()) * lineHeight;
    if (flags & TextCalcRect) {
        rect.right = static_cast<int>(std::min<long long>(rect.left + width, INT32_MAX));
        rect.bottom = static_cast<int>(std::min<long long>(rect.top + height, INT32_MAX));
        return static_cast<int>(std::min<long long>(height, INT32_MAX));
    }
    if (!HasPixels(&target)) return 0;

    TextRect clip = {0, 0, target.Width(), target.Height()};
    if (!(flags & TextNoClip))
        clip = {std::max(clip.left, rect.left), std::max(clip.top, rect.top),
                std::min(clip.right, rect.right), std::min(clip.bottom, rect.bottom)};
    if (clip.right <= clip.left || clip.bottom <= clip.top) return static_cast<int>(height);

    long long y = AlignedTop(rect, height, flags, TextCentring::HalfOfEdgeSum);
    for (const TextLine& l : lines) {
        const long long x = AlignedLeft(rect, l.width, flags, TextCentring::HalfOfEdgeSum);
        if (colours.backgroundMode == kOpaqueBackground)
            FillBox(target, clip, {x, y, x + l.width, y + lineHeight}, colours.background | 0xFF000000u);
        DrawLine(target, l, x, y + ascent_, clip, colours.foreground);
        y += lineHeight;
    }
    return static_cast<int>(std::min<long long>(height, INT32_MAX));
}

std::vector<TextLine> FreeTypeFont::SplitLines(const unsigned char* bytes, int length, bool singleLine) {
    std::vector<TextLine> lines;
    TextLine line = {bytes, 0, 0};
    for (int i = 0; i < length && bytes[i] != 0;) {
        const Utf8Char c = DecodeUtf8(bytes + i, length - i);
        i += c.length;
        if (c.code == 10 && !singleLine) {
            lines.push_back(line);
            line = {bytes + i, 0, 0};
            continue;
        }
        line.count = static_cast<int>(bytes + i - line.bytes);
        if (c.code != 13) line.width += Advance(c.code);
    }
    lines.push_back(line);
    return lines;
}

void FreeTypeFont::DrawLine(RasterBitmap& target, const TextLine& line, long long x, long long baseline,
                            const TextRect& clip, uint32_t foreground) {
    // Coverage mixes each byte towards the colour (the alpha byte towards opaque).
    const auto over = [foreground](uint32_t d, int cov) {
        auto mix = [cov](uint32_t dc, uint32_t sc) {
            const int dv = static_cast<int>(dc & 0xFF), sv = static_cast<int>(sc & 0xFF);
            return static_cast<uint32_t>(dv + (sv - dv) * cov / 255);
        };
        return mix(d >> 24, 0xFF) << 24 | mix(d >> 16, foreground >> 16) << 16 |
               mix(d >> 8, foreground >> 8) << 8 | mix(d, foreground);
    };
    for (int i = 0; i < line.count;) {
        const Utf8Char c = DecodeUtf8(line.bytes + i, line.count - i);
        i += c.length;
        if (c.code == 13) continue;
        const uint16_t code = c.code == 10 ? uint16_t{' '} : c.code;
        DrawGlyph(target, code, x, baseline, clip, over);
        x += Advance(code);
    }
}

}  // namespace

PlatformFont* CreatePlatformFont(const PlatformFontAttributes& attributes) {
    FT_Library library = nullptr;
    FcConfig* config = nullptr;
    if (!AcquireLibraries(library, config)) return nullptr;
    std::string file;
    int index = 0;
    FT_Face face = MatchFace(config, attributes, file, index) ? OpenFace(library, file, index) : nullptr;
    if (!face) {
        ReleaseLibraries();
        return nullptr;
    }
    // The font now holds the reference taken above.
    auto* font = new FreeTypeFont(face, attributes.quality == 3);
    if (!font->SetHeight(attributes.height)) {
        delete font;
        return nullptr;
    }
    return font;
}

#if defined(__SANITIZE_ADDRESS__)
#define VESMAR_LEAK_CHECKER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VESMAR_LEAK_CHECKER 1
#endif
#endif
#ifdef VESMAR_LEAK_CHECKER
// fontconfig loses a few bytes while it parses its configuration files, once per process; the
// leak checker of sanitizer builds is told so here, where fontconfig is used.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

bool ProbeCompatibilityLayer() {
    return false;
}
