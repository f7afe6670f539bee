#include "raster/DibBitmap.h"

#include <cstddef>
#include <new>

// No native drawing context here: the pixels are heap memory and DeviceContext() stays null.
DibBitmap::DibBitmap(int width, int height) {
    Resize(width, height);
}

DibBitmap::~DibBitmap() {
    ReleasePixels();
}

void DibBitmap::ReleasePixels() {
    delete[] bits_;
    bits_ = nullptr;
}

bool DibBitmap::CanAllocate() const {
    return true;
}

bool DibBitmap::AllocatePixels() {
    size_t count = static_cast<size_t>(allocWidth_) * static_cast<size_t>(allocHeight_);
    if (count > (size_t(1) << 31) / sizeof(uint32_t)) return false;
    bits_ = new (std::nothrow) uint32_t[count];
    return bits_ != nullptr;
}
