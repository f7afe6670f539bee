#pragma once

#include <cstdint>

#include "raster/RasterBitmap.h"

// One-pixel line from (x1, y1) to (x2, y2), both ends included, in colour 0xAARRGGBB at weight
// alpha with the rule of mode's low byte; optionally anti-aliased. Clipped to the bitmap.
void DrawLine(RasterBitmap* dest, int x1, int y1, int x2, int y2, uint32_t colour, float alpha, int mode,
              bool antialias);

// Cohen-Sutherland clipping of a line to x in 0..width-1 and y in 0..height-1; false when
// nothing of it is left (or no decision came within 33 moves).
bool ClipLine(int& x1, int& y1, int& x2, int& y2, int width, int height);
