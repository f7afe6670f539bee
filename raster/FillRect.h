#pragma once

#include <cstdint>

#include "raster/RasterBitmap.h"

// Blends the colour 0xAARRGGBB over the rectangle at weight alpha with the rule of mode's low
// byte. With BlendUseSourceAlpha the colour's alpha scales the weight first.
void FillRect(RasterBitmap* dest, int x, int y, int width, int height, uint32_t colour, float alpha,
              int mode);
