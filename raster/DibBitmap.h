#pragma once

#include "raster/RasterBitmap.h"

// Bitmap the platform can draw into and copy to a window. On Windows the pixels belong to a
// top-down 32-bit DIB section selected into a memory device context; elsewhere they are plain
// heap memory and DeviceContext() is null. Rows are allocated in multiples of 4 pixels and the
// buffer is reused whenever a new size fits into it.
class DibBitmap : public RasterBitmap {
  public:
    DibBitmap(int width, int height);
    ~DibBitmap() override;

    uint32_t* Bits() override { return bits_; }
    int Width() override { return width_; }
    int Height() override { return height_; }
    int RowSpan() override { return allocWidth_; }
    bool Resize(int width, int height) override;
    void* DeviceContext() override { return deviceContext_; }

  private:
    // Drops the pixel buffer (restoring the context's previous bitmap first on Windows).
    void ReleasePixels();
    // Whether pixels can be allocated at all (Windows: only with a device context).
    bool CanAllocate() const;
    // Allocates allocWidth_ x allocHeight_ pixels; false when that failed.
    bool AllocatePixels();

    int width_ = 0;
    int height_ = 0;
    void* deviceContext_ = nullptr;
    uint32_t* bits_ = nullptr;
    int allocWidth_ = 0;
    int allocHeight_ = 0;
    void* section_ = nullptr;
    void* previousBitmap_ = nullptr;
};
