#pragma once

#include <cstdint>

class RasterBitmap;

// An image of `frames` equal frames side by side (horizontally or vertically, as the drawer
// says). The bitmap belongs to the process-wide image cache. The empty strip has a null bitmap,
// zero sizes and one frame.
struct IImageStrip {
    RasterBitmap* bitmap = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t frames = 1;
};
