#include "raster/DibBitmap.h"

#include <climits>

// Size bookkeeping shared by both platforms; only the pixel allocation differs.
bool DibBitmap::Resize(int width, int height) {
    if (!CanAllocate()) {
        width_ = height_ = 0;
        bits_ = nullptr;
        return false;
    }
    if (width == width_ && height == height_) return false;
    width_ = width;
    height_ = height;
    if (width != 0 && height != 0 && width <= allocWidth_ && height <= allocHeight_ && bits_) return true;

    long long rounded = (static_cast<long long>(width) + 3) / 4 * 4;
    allocWidth_ = rounded > INT_MAX - 3 || rounded < 1 ? 0 : static_cast<int>(rounded);
    allocHeight_ = height;
    ReleasePixels();
    if (allocWidth_ < 1 || height < 1) return false;

    if (!AllocatePixels()) {
        width_ = 0;
        height_ = 0;
        bits_ = nullptr;
    }
    return true;
}
