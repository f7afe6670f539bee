#pragma once

#include "raster/RasterBitmap.h"

// Heap bitmap: rows start 64-byte aligned and are padded to the row alignment; the buffer
// grows with 25 % headroom and never shrinks, so resizing to similar sizes does not reallocate.
class MemoryBitmap : public RasterBitmap {
  public:
    // rowAlignment in pixels: below 2 means none; otherwise its lowest power of two, at most 16.
    MemoryBitmap(int width, int height, int rowAlignment);
    ~MemoryBitmap() override;

    uint32_t* Bits() override;
    int Width() override { return width_; }
    int Height() override { return height_; }
    int RowSpan() override;
    bool Resize(int width, int height) override;

    // Bytes the current allocation can hold (0 when none).
    int Capacity() const { return capacity_; }

  private:
    void Release();

    void* allocation_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int capacity_ = 0;
    unsigned alignMask_ = 0;
};
