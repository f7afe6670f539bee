#pragma once

#include <cstdint>

// A 32-bit pixel buffer. Pixels are 0xAARRGGBB words with straight (not premultiplied) alpha;
// in memory a pixel's bytes are blue, green, red, alpha. Memory row r starts at
// Bits() + r * RowSpan(); when IsFlipped() is true memory row 0 holds the bottom image row.
class RasterBitmap {
  public:
    virtual ~RasterBitmap() = default;

    // First pixel of memory row 0, or null when the bitmap holds no pixels.
    virtual uint32_t* Bits() = 0;
    virtual int Width() = 0;
    virtual int Height() = 0;
    // Pixels from one memory row to the next (at least Width()).
    virtual int RowSpan() = 0;
    virtual bool IsFlipped() { return false; }
    // False when the size is unchanged (and in the kind-specific cases); true when the new size
    // was taken, even if its allocation then failed (the bitmap is then 0 x 0 with null Bits).
    virtual bool Resize(int width, int height) = 0;
    // Platform drawing context bound to the pixels, or null.
    virtual void* DeviceContext() { return nullptr; }
    virtual intptr_t Extension(int /*id*/, void* /*data*/) { return 0; }

  protected:
    RasterBitmap() = default;
    RasterBitmap(const RasterBitmap&) = delete;
    RasterBitmap& operator=(const RasterBitmap&) = delete;
};
