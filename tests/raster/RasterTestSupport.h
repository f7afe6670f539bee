#pragma once

#include <cstdint>
#include <vector>

#include "raster/MemoryBitmap.h"

// A memory bitmap that keeps its bottom row first, for checking that every operation honours
// IsFlipped.
class FlippedBitmap : public MemoryBitmap {
  public:
    FlippedBitmap(int width, int height) : MemoryBitmap(width, height, 4) {}
    bool IsFlipped() override { return true; }
};

// Pixel (x, y) of the image (y = 0 is the top row whatever the orientation).
inline uint32_t& PixelAt(RasterBitmap& b, int x, int y) {
    int row = b.IsFlipped() ? b.Height() - 1 - y : y;
    return b.Bits()[row * b.RowSpan() + x];
}

inline void Fill(RasterBitmap& b, uint32_t value) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) PixelAt(b, x, y) = value;
}

// Deterministic pseudo-random words.
struct Lcg {
    uint32_t state;
    uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state ^ (state >> 13);
    }
};

// Fills with a pattern where every pixel differs (x, y and a seed in different bytes).
inline void FillPattern(RasterBitmap& b, uint32_t seed) {
    Lcg lcg{seed};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) PixelAt(b, x, y) = lcg.Next();
}

inline std::vector<uint32_t> Snapshot(RasterBitmap& b) {
    std::vector<uint32_t> out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) out.push_back(PixelAt(b, x, y));
    return out;
}
