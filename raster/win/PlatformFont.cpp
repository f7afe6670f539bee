// Platform fonts on Windows: GDI fonts, measured and drawn with DrawText into the device context
// of a DIB-section bitmap.
#include "raster/PlatformFont.h"

#include <windows.h>

#include <memory>

#include "raster/Utf8Text.h"

namespace {

RECT ToRect(const TextRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

COLORREF ToColorRef(uint32_t argb) {
    return RGB(argb >> 16 & 0xFF, argb >> 8 & 0xFF, argb & 0xFF);
}

// Selects a font into a device context for the lifetime of the object.
class SelectedFont {
  public:
    SelectedFont(HDC dc, HFONT font) : dc_(dc), previous_(SelectObject(dc, font)) {}
    ~SelectedFont() {
        GdiFlush();  // the caller reads the pixels right after
        SelectObject(dc_, previous_);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

class GdiFont : public PlatformFont {
  public:
    GdiFont(HFONT font, int height) : font_(font), height_(height) {}
    ~GdiFont() override { DeleteObject(font_); }

    int PixelHeight() override { return height_; }

    bool MeasureCharacter(RasterBitmap& scratch, uint16_t code, int& advance, int& height) override {
        HDC dc = static_cast<HDC>(scratch.DeviceContext());
        if (!dc) return false;
        SelectedFont selected(dc, font_);
        RECT r = {0, 0, 0, 0};
        const wchar_t ch = code;
        DrawTextW(dc, &ch, 1, &r, DT_NOPREFIX | DT_CALCRECT | DT_SINGLELINE);
        advance = r.right;
        height = r.bottom;
        return true;
    }

    void RenderCharacter(RasterBitmap& scratch, uint16_t code, const TextRect& box) override {
        HDC dc = static_cast<HDC>(scratch.DeviceContext());
        if (!dc) return;
        SetTextColor(dc, 0xFFFFFF);
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, 0);
        SelectedFont selected(dc, font_);
        RECT r = ToRect(box);
        const wchar_t ch = code;
        DrawTextW(dc, &ch, 1, &r, DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
    }

    bool CanDrawText(RasterBitmap& target) override { return target.DeviceContext() != nullptr; }

    int DrawTextDirect(RasterBitmap& target, const char* text, int byteCount, TextRect& rect, unsigned flags,
                       const PlatformTextColours& colours) override {
        HDC dc = static_cast<HDC>(target.DeviceContext());
        if (!dc || !text) return 0;
        SelectedFont selected(dc, font_);
        SetTextColor(dc, ToColorRef(colours.foreground));
        SetBkMode(dc, colours.backgroundMode);
        if (colours.backgroundMode == OPAQUE) SetBkColor(dc, ToColorRef(colours.background));
        RECT r = ToRect(rect);
        int result = 0;
        if (!DrawWide(dc, text, byteCount, r, flags, result))
            result = DrawTextA(dc, text, byteCount, &r, flags);
        if (flags & DT_CALCRECT) rect = {r.left, r.top, r.right, r.bottom};
        return result;
    }

  private:
    // UTF-8 text with multi-byte sequences goes through DrawTextW; false when the text has none
    // or cannot be converted (then the narrow text is drawn in the current code page).
    bool DrawWide(HDC dc, const char* text, int byteCount, RECT& r, unsigned flags, int& result) {
        if (!HasUtf8Sequence(text, byteCount)) return false;
        const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, byteCount, nullptr, 0);
        if (length <= 0) return false;
        wchar_t local[1024];
        std::unique_ptr<wchar_t[]> heap;
        wchar_t* wide = local;
        if (length >= 1000) {
            heap.reset(new (std::nothrow) wchar_t[static_cast<size_t>(length) + 32]);
            if (!heap) return false;
            wide = heap.get();
        }
        if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, byteCount, wide, length) != length)
            return false;
        wide[length] = 0;  // a counted text converts without its terminator
        result = DrawTextW(dc, wide, -1, &r, flags);
        return true;
    }

    HFONT font_;
    int height_;
};

}  // namespace

PlatformFont* CreatePlatformFont(const PlatformFontAttributes& a) {
    char face[LF_FACESIZE] = {};
    for (int i = 0; i < LF_FACESIZE - 1 && a.face[i]; ++i) face[i] = a.face[i];
    HFONT font = CreateFontA(a.height, a.width, a.escapement, a.orientation, a.weight, a.italic, a.underline,
                             a.strikeOut, static_cast<DWORD>(a.charSet), static_cast<DWORD>(a.outPrecision),
                             static_cast<DWORD>(a.clipPrecision), static_cast<DWORD>(a.quality),
                             static_cast<DWORD>(a.pitchAndFamily), face);
    if (!font) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(font);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    const BOOL measured = GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    DeleteDC(dc);
    if (!measured) {
        DeleteObject(font);
        return nullptr;
    }
    return new GdiFont(font, metrics.tmHeight);
}

bool ProbeCompatibilityLayer() {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}
