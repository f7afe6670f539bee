// DrawString over arbitrary byte strings: any byte count (negative, exact, ending inside a
// sequence, zero), embedded NULs, every font and text flag combination, blend modes and
// rectangles partly or wholly outside a small bitmap, top-down or flipped. The text is copied
// into a buffer of exactly its size, so any read past the count is caught.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "raster/BlendMode.h"
#include "raster/GlyphCacheFont.h"
#include "raster/MemoryBitmap.h"

namespace {

class FlippedMemoryBitmap : public MemoryBitmap {
  public:
    FlippedMemoryBitmap(int w, int h) : MemoryBitmap(w, h, 4) {}
    bool IsFlipped() override { return true; }
};

// Fonts are created once per size and shared by the inputs (the glyph cache is not).
PlatformFont* SharedFont(int index) {
    static PlatformFont* fonts[4] = {};
    static const int heights[4] = {9, 15, 40, 260};
    if (!fonts[index]) {
        PlatformFontAttributes a;
        a.height = heights[index];
        a.italic = index == 1;
        std::strcpy(a.face, "Arial");
        fonts[index] = CreatePlatformFont(a);
    }
    return fonts[index];
}

struct Reader {
    const uint8_t* data;
    size_t size;
    uint32_t Take(int bytes) {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            v = v << 8 | (size ? *data : 0);
            if (size) ++data, --size;
        }
        return v;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in{data, size};
    const int fontFlags = static_cast<int>(in.Take(2) & 0x7F7u) & ~FontOwnsHandle;
    const uint32_t selector = in.Take(1);
    unsigned textFlags = in.Take(2) & 0x0FFFu;
    if (selector & 0x10) textFlags |= TextUseColorAlpha;
    if (selector & 0x20) textFlags |= TextForceCached;
    const auto rect = TextRect{static_cast<int8_t>(in.Take(1)), static_cast<int8_t>(in.Take(1)),
                               static_cast<int8_t>(in.Take(1)), static_cast<int8_t>(in.Take(1))};
    const uint32_t foreground = in.Take(4);
    const int mode = static_cast<int>(in.Take(1) % 8) | ((selector & 0x40) ? int{BlendUseSourceAlpha} : 0);
    const float alpha = static_cast<float>(static_cast<int8_t>(in.Take(1))) / 64.0f;
    const uint32_t countMode = in.Take(1);

    GlyphCacheFont::SetProbeResultForTesting((selector & 0x80) ? GlyphCacheFont::CompatibilityLayer::Present
                                                               : GlyphCacheFont::CompatibilityLayer::Absent);
    // A font that lives across inputs keeps the shared scratch bitmaps from being rebuilt each time.
    static GlyphCacheFont keeper;
    GlyphCacheFont font;
    const int sizeIndex = static_cast<int>(selector & 3);
    // Rendering all of ASCII up front is only affordable for the small sizes.
    font.SetFromHFont(SharedFont(sizeIndex), sizeIndex >= 2 ? fontFlags & ~FontAsciiOnly : fontFlags);
    font.SetForegroundColor(foreground);
    font.SetEffectColor(~foreground);
    font.SetBackgroundColor(foreground ^ 0x00FF00FFu);
    font.SetBackgroundMode((selector & 0x08) ? 2 : 1);
    font.SetCombineMode(mode, alpha);

    // The rest is the text, in a buffer of exactly its length (plus the NUL a negative count needs).
    const int length = static_cast<int>(in.size);
    int byteCount = length;
    switch (countMode % 4) {
        case 0:
            byteCount = -1;
            break;
        case 1:
            byteCount = length > 0 ? static_cast<int>(countMode / 4) % (length + 1) : 0;
            break;
        case 2:
            byteCount = 0;
            break;
        default:
            break;
    }
    std::vector<char> text(in.data, in.data + in.size);
    if (byteCount < 0) text.push_back('\0');
    std::unique_ptr<char[]> exact(new char[text.size() + (text.empty() ? 1 : 0)]);
    if (!text.empty()) std::memcpy(exact.get(), text.data(), text.size());
    const char* str = exact.get();

    std::unique_ptr<MemoryBitmap> bitmap;
    if (selector & 0x04)
        bitmap = std::make_unique<FlippedMemoryBitmap>(24, 16);
    else
        bitmap = std::make_unique<MemoryBitmap>(24, 16, 4);
    std::memset(bitmap->Bits(), 0x5A, static_cast<size_t>(bitmap->RowSpan()) * 16 * sizeof(uint32_t));

    TextRect r = rect;
    font.DrawString(bitmap.get(), str, byteCount, &r, textFlags);
    TextRect measured = rect;
    font.DrawString(nullptr, str, byteCount, &measured, textFlags | TextCalcRect);
    font.DrawGlyph(bitmap.get(), static_cast<unsigned char>(text.empty() ? 'A' : text[0]), rect.left,
                   rect.top, TextRect{rect.right, rect.bottom, rect.left, rect.top});
    return 0;
}
