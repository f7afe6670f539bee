#pragma once

#include "raster/RasterBitmap.h"

// Source rectangle in source pixels, right and bottom exclusive.
struct BlitSourceRect {
    int left;
    int top;
    int right;
    int bottom;
};

// Composites srcRect of src (the whole source when null) with its top-left corner at (x, y) of
// dest, using the rule and flags of mode (see BlendMode.h) at weight alpha. Modes 0xF0..0xFF
// copy one byte of each source pixel into one byte of the destination pixel.
void Blit(RasterBitmap* dest, RasterBitmap* src, int x, int y, const BlitSourceRect* srcRect, float alpha,
          int mode);

// Blit of the source rectangle (srcX, srcY, srcX + width, srcY + height).
void BlitRect(RasterBitmap* dest, RasterBitmap* src, int x, int y, int srcX, int srcY, int width, int height,
              float alpha, int mode);
