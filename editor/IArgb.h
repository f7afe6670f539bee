#pragma once

#include <cstdint>

// Colour with straight alpha, each channel 0..255.
struct IArgb {
    int32_t A = 255;
    int32_t R = 0;
    int32_t G = 0;
    int32_t B = 0;

    constexpr IArgb() = default;
    constexpr IArgb(int32_t a, int32_t r, int32_t g, int32_t b) : A(a), R(r), G(g), B(b) {}

    // The raster library's 0xAARRGGBB word; each channel is masked to 8 bits.
    constexpr uint32_t Packed() const {
        return (static_cast<uint32_t>(A) & 0xFF) << 24 | (static_cast<uint32_t>(R) & 0xFF) << 16 |
               (static_cast<uint32_t>(G) & 0xFF) << 8 | (static_cast<uint32_t>(B) & 0xFF);
    }
    constexpr bool operator==(const IArgb&) const = default;
};
