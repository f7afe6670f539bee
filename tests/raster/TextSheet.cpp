// Draws a fixed sheet of cached-font text (sizes, effects, alignment, non-Latin letters) into a
// MemoryBitmap and writes it as a PNG, with a layout file listing every line height, advance
// and drawn position. The same program runs on Linux and under Wine; `compare` then tells how
// far the two sheets differ.
//   vesmar_text_sheet draw SHEET.png LAYOUT.txt
//   vesmar_text_sheet compare A.png B.png
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "raster/FillRect.h"
#include "raster/GlyphCacheFont.h"
#include "raster/MemoryBitmap.h"
#include "raster/PixelRows.h"
#include "raster/PngDecoder.h"
#include "raster/Utf8Text.h"

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 580;

const char* const kSamples[] = {"500ms", "-20", "0%", "22dB", "Attack slow && Decay fast"};
const char* const kLetters =
    "\xC3\x89mile \xC3\xA7"
    "a na\xC3\xAFve \xC3\x86r\xC3\xB8 \xC3\x9F \xCE\xA9\xCE\x94\xCE\xBB "
    "\xD0\x96\xD0\xB8\xD0\xB7\xD0\xBD\xD1\x8C \xE2\x82\xAC \xC5\x91";

class Sheet {
  public:
    explicit Sheet(FILE* layout) : bitmap_(kWidth, kHeight, 4), layout_(layout) {
        FillRect(&bitmap_, 0, 0, kWidth, kHeight, 0xFF303030u, 1.0f, 0);
    }

    MemoryBitmap& Bitmap() { return bitmap_; }

    std::unique_ptr<GlyphCacheFont> Font(int size, int style, int flags) {
        PlatformFontAttributes a;
        a.height = size;
        a.weight = (style & 1) ? 700 : 400;
        a.italic = style & 2;
        std::strcpy(a.face, "Arial");
        auto font = std::make_unique<GlyphCacheFont>();
        font->SetFromHFont(CreatePlatformFont(a), flags | FontOwnsHandle);
        std::fprintf(layout_, "font size %d style %d flags 0x%x: line height %d\n", size, style, flags,
                     font->LineHeight());
        return font;
    }

    // Draws text and records the layout (pen, drawn extent, advances) and, on a line of its own,
    // the measured box, which also depends on where each rasteriser puts faint ink.
    void Draw(GlyphCacheFont& font, const char* text, TextRect rect, unsigned flags) {
        TextRect measured = rect;
        const int height = font.DrawString(nullptr, text, -1, &measured, flags | TextCalcRect);
        const int drawn = font.DrawString(&bitmap_, text, -1, &rect, flags);
        std::fprintf(layout_, "  \"%s\" flags 0x%x at (%d, %d): drawn %d; advances", text, flags, rect.left,
                     rect.top, drawn);
        for (int advance : Advances(font, text)) std::fprintf(layout_, " %d", advance);
        std::fprintf(layout_, "\n    ink: measured %d x %d (%d)\n", measured.right - measured.left,
                     measured.bottom - measured.top, height);
    }

    // The advance of every character (-1 for one that cannot be drawn), from the glyph cache.
    static std::vector<int> Advances(GlyphCacheFont& font, const char* text) {
        std::vector<int> out;
        const auto* bytes = reinterpret_cast<const unsigned char*>(text);
        for (int i = 0; bytes[i];) {
            const Utf8Char c = DecodeUtf8(bytes + i, -1);
            i += c.length;
            const GlyphRecord* g = font.FindGlyph(c.code);
            if (!g || g->offset == 0) font.RenderGlyph(c.code);
            g = font.FindGlyph(c.code);
            out.push_back(g && g->offset > 0 ? g->advance : -1);
        }
        return out;
    }

    static int AdvanceWidth(GlyphCacheFont& font, const char* text) {
        int width = 0;
        for (int advance : Advances(font, text)) width += advance > 0 ? advance : 0;
        return width;
    }

    void Frame(TextRect r, uint32_t colour) {
        FillRect(&bitmap_, r.left, r.top, r.right - r.left, 1, colour, 1.0f, 0);
        FillRect(&bitmap_, r.left, r.bottom - 1, r.right - r.left, 1, colour, 1.0f, 0);
        FillRect(&bitmap_, r.left, r.top, 1, r.bottom - r.top, colour, 1.0f, 0);
        FillRect(&bitmap_, r.right - 1, r.top, 1, r.bottom - r.top, colour, 1.0f, 0);
    }

  private:
    MemoryBitmap bitmap_;
    FILE* layout_;
};

void DrawSheet(Sheet& sheet) {
    int y = 4;
    // Every size of the editor's range, plain white text.
    for (int size : {9, 10, 11, 12, 13, 15, 18, 22, 28, 34, 40}) {
        auto font = sheet.Font(size, 0, 0);
        font->SetForegroundColor(0xFFFFFFFFu);
        int x = 4;
        for (const char* s : kSamples) {
            TextRect r = {x, y, kWidth, y + size};
            sheet.Draw(*font, s, r, TextNoClip);
            x += Sheet::AdvanceWidth(*font, s) + size / 2;
        }
        y += font->LineHeight() + 2;
    }
    // Accented and non-Latin letters, regular, bold, italic, bold italic.
    for (int style = 0; style < 4; ++style) {
        auto font = sheet.Font(20, style, 0);
        font->SetForegroundColor(0xFFFFE080u);
        sheet.Draw(*font, kLetters, TextRect{4, y, kWidth, y + 24}, TextNoClip);
        y += font->LineHeight() + 2;
    }

    // One box per font flag, 18 px.
    struct Effect {
        const char* name;
        int flags;
    };
    const Effect effects[] = {{"Mono", FontMono},          {"Shadow", FontShadow},
                              {"Outline", FontOutline},    {"Blur", FontBlur},
                              {"Invert", FontInvert},      {"AsciiOnly \xC3\xA9", FontAsciiOnly},
                              {"Native", FontPreferNative}};
    int x = 4;
    for (const Effect& e : effects) {
        auto font = sheet.Font(18, 0, e.flags);
        font->SetForegroundColor(0xFFFFFFFFu);
        font->SetEffectColor(0xFF2060FFu);
        TextRect r = {x, y, x + 128, y + 30};
        sheet.Frame(r, 0xFF606060u);
        sheet.Draw(*font, e.name, r, TextCenter | TextVCenter | TextSingleLine);
        x += 134;
    }
    y += 36;

    // Vertical text both ways, alignment in boxes, line feeds, translucent and blended text.
    {
        auto down = sheet.Font(16, 0, FontVertical);
        auto up = sheet.Font(16, 0, FontVertical | FontBottomUp);
        down->SetForegroundColor(0xFF80FF80u);
        up->SetForegroundColor(0xFFFF8080u);
        TextRect r = {4, y, 30, y + 200};
        sheet.Frame(r, 0xFF606060u);
        sheet.Draw(*down, "Attack slow", r, 0);
        r = {34, y, 60, y + 200};
        sheet.Frame(r, 0xFF606060u);
        sheet.Draw(*up, "Decay fast", r, TextBottom);
    }
    auto font = sheet.Font(15, 0, 0);
    font->SetForegroundColor(0xFFFFFFFFu);
    const unsigned aligns[] = {0,
                               TextCenter,
                               TextRight,
                               TextVCenter | TextSingleLine,
                               TextCenter | TextVCenter | TextSingleLine,
                               TextBottom | TextRight | TextSingleLine};
    x = 70;
    for (unsigned a : aligns) {
        TextRect r = {x, y, x + 100, y + 40};
        sheet.Frame(r, 0xFF606060u);
        sheet.Draw(*font, "500ms", r, a);
        x += 106;
    }
    TextRect lines = {70, y + 50, 300, y + 120};
    sheet.Frame(lines, 0xFF606060u);
    sheet.Draw(*font, "Attack\nslow\r\n&& Decay", lines, 0);
    TextRect single = {310, y + 50, 600, y + 120};
    sheet.Frame(single, 0xFF606060u);
    sheet.Draw(*font, "Attack\nslow\r\n&& Decay", single, TextSingleLine);

    // The knobs' translucent white, other blend rules and an opaque background.
    TextRect knob = {70, y + 130, 170, y + 160};
    sheet.Frame(knob, 0xFF606060u);
    font->SetForegroundColor(0xC8FFFFFFu);
    sheet.Draw(*font, "500ms", knob, TextCenter | TextNoClip | TextUseColorAlpha);
    font->SetForegroundColor(0xFF4080C0u);
    int bx = 180;
    for (int mode : {1, 2, 3, 4}) {
        font->SetCombineMode(mode, 0.75f);
        sheet.Draw(*font, "22dB", TextRect{bx, y + 130, bx + 80, y + 160}, TextNoClip);
        bx += 84;
    }
    font->SetCombineMode(0, 1.0f);
    font->SetBackgroundMode(2);
    font->SetBackgroundColor(0xFFE0E0E0u);
    font->SetForegroundColor(0xFF000000u);
    sheet.Draw(*font, "Attack slow && Decay fast", TextRect{540, y + 130, 900, y + 160}, TextNoClip);
}

bool WritePng(const char* path, RasterBitmap& bitmap) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<unsigned char> row(static_cast<size_t>(bitmap.Width()) * 4);
    bool ok = png && info && !setjmp(png_jmpbuf(png));
    if (ok) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width()),
                     static_cast<png_uint_32>(bitmap.Height()), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < bitmap.Height(); ++y) {
            const uint32_t* p = ImageRow(bitmap, y);
            for (int x = 0; x < bitmap.Width(); ++x) {
                unsigned char* o = &row[static_cast<size_t>(x) * 4];
                o[0] = static_cast<unsigned char>(p[x] >> 16), o[1] = static_cast<unsigned char>(p[x] >> 8);
                o[2] = static_cast<unsigned char>(p[x]), o[3] = static_cast<unsigned char>(p[x] >> 24);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, info);
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

std::unique_ptr<RasterBitmap> ReadPng(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return nullptr;
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(file);
    return std::unique_ptr<RasterBitmap>(DecodePng(bytes.data(), bytes.size(), nullptr));
}

// Largest per-channel difference and the share of pixels that differ at all.
int Compare(const char* a, const char* b) {
    auto first = ReadPng(a), second = ReadPng(b);
    if (!first || !second || first->Width() != second->Width() || first->Height() != second->Height()) {
        std::fprintf(stderr, "text sheets missing or of different sizes\n");
        return 1;
    }
    long long differing = 0;
    int largest = 0;
    for (int y = 0; y < first->Height(); ++y) {
        const uint32_t* p = ImageRow(*first, y);
        const uint32_t* q = ImageRow(*second, y);
        for (int x = 0; x < first->Width(); ++x) {
            if (p[x] == q[x]) continue;
            ++differing;
            for (int shift = 0; shift < 32; shift += 8)
                largest = std::max(largest, std::abs(static_cast<int>(p[x] >> shift & 0xFF) -
                                                     static_cast<int>(q[x] >> shift & 0xFF)));
        }
    }
    const double share = 100.0 * static_cast<double>(differing) / (first->Width() * first->Height());
    std::printf("largest per-pixel difference %d of 255; %lld pixels differ (%.3f %%)\n", largest, differing,
                share);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "draw") == 0) {
        FILE* layout = std::fopen(argv[3], "wb");
        if (!layout) return 1;
        Sheet sheet(layout);
        DrawSheet(sheet);
        std::fclose(layout);
        return WritePng(argv[2], sheet.Bitmap()) ? 0 : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "compare") == 0) return Compare(argv[2], argv[3]);
    std::fprintf(stderr, "usage: vesmar_text_sheet draw SHEET.png LAYOUT.txt | compare A.png B.png\n");
    return 2;
}
