#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/RasterBitmap.h"

// Start of image row y (0 = top) of a bitmap, honouring IsFlipped.
inline uint32_t* ImageRow(RasterBitmap& bitmap, int y) {
    int memoryRow = bitmap.IsFlipped() ? bitmap.Height() - 1 - y : y;
    return bitmap.Bits() + static_cast<ptrdiff_t>(memoryRow) * bitmap.RowSpan();
}

// Whether a bitmap exists and has pixels to draw into or read from.
inline bool HasPixels(RasterBitmap* bitmap) {
    return bitmap && bitmap->Bits();
}
