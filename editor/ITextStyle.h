#pragma once

#include <cstdint>

#include "editor/IArgb.h"

class GlyphCacheFont;

// How DrawLabel draws a text. The font is looked up in the process-wide font cache on first use
// and remembered here; it belongs to the cache.
struct ITextStyle {
    static constexpr int kFaceBytes = 32;
    enum Style : int32_t { Normal = 0, Bold = 1, Italic = 2 };  // read as bits
    enum Align : int32_t { AlignLeft = 0, AlignCentre = 1, AlignRight = 2 };
    enum Quality : int32_t {
        QualityDefault = 0,
        QualityNonAntialiased = 1,
        QualityAntialiased = 2,
        QualityClearType = 3
    };

    char face[kFaceBytes] = "Arial";
    int32_t size = 14;
    IArgb colour{};
    int32_t style = Normal;
    int32_t align = AlignLeft;
    int32_t orientation = 0;  // degrees
    int32_t quality = QualityDefault;
    GlyphCacheFont* font = nullptr;

    ITextStyle() = default;
    // face is truncated to 31 bytes; null keeps "Arial".
    ITextStyle(int32_t size, IArgb colour, const char* face = "Arial", int32_t style = Normal,
               int32_t align = AlignLeft, int32_t orientation = 0, int32_t quality = QualityDefault);
};
