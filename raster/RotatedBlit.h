#pragma once

#include "raster/RasterBitmap.h"

// Draws the source rectangle (srcX, srcY, srcWidth, srcHeight) scaled into the destination
// rectangle and turned by angle radians (clockwise on screen) about the rectangle's centre,
// moved by the centre offsets (source pixels). Negative destination sizes mirror. Sampling is
// nearest, or bilinear when the filter bits of mode are BlendFilterBilinear. With
// clipToSourceRect only pixels inside the source rectangle are sampled.
void RotatedBlit(RasterBitmap* dest, RasterBitmap* src, int dstX, int dstY, int dstWidth, int dstHeight,
                 float srcX, float srcY, float srcWidth, float srcHeight, float angle, bool clipToSourceRect,
                 float alpha, int mode, float centreOffsetX, float centreOffsetY);
