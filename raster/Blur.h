#pragma once

#include "raster/RasterBitmap.h"

// Cross-shaped box blur of the source rectangle into dest at (dstX, dstY), computed on whole
// words with each per-byte term truncated on its own. dest and src may be the same bitmap.
void Blur(RasterBitmap* dest, RasterBitmap* src, int dstX, int dstY, int srcX, int srcY, int srcWidth,
          int srcHeight);
