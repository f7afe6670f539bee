#pragma once

#include <cstddef>

#include "raster/RasterBitmap.h"

// PNG decoding into 0xAARRGGBB bitmaps (images without alpha get alpha 255). Every function
// takes an optional existing bitmap: when given it is resized to the image, filled and
// returned; when null a new MemoryBitmap(width, height, 4) is returned and the caller owns it.
// Any failure returns null (a caller's bitmap then holds undefined pixels).

// Largest image accepted, per side and in total; larger declared sizes fail before any pixel
// memory is allocated.
constexpr int kPngMaxSide = 16384;
constexpr long long kPngMaxPixels = 64ll * 1024 * 1024;

RasterBitmap* DecodePng(const void* data, size_t length, RasterBitmap* dest);
// UTF-8 path.
RasterBitmap* LoadPngFile(const char* path, RasterBitmap* dest);
// Resource of type "PNG" with the given 16-bit id in a module (Windows: the module handle;
// elsewhere the images embedded at build time, whatever the module token).
RasterBitmap* LoadPngResource(void* module, int resourceId, RasterBitmap* dest);
