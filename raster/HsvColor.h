#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Integer HSV with 384 hue steps per turn (64 per sextant); saturation and value 0..255.
struct HsvColor {
    int h;
    int s;
    int v;
};

namespace hsv_detail {
constexpr std::array<uint16_t, 256> MakeReciprocals() {
    std::array<uint16_t, 256> table{};
    for (size_t x = 1; x < 256; ++x) table[x] = static_cast<uint16_t>(65536 / x - 1);
    return table;
}
}  // namespace hsv_detail

// ReciprocalTable[x] = floor(65536 / x) - 1 for x = 1..255, and 0 for x = 0.
inline constexpr std::array<uint16_t, 256> ReciprocalTable = hsv_detail::MakeReciprocals();

HsvColor HsvFromRgb(int r, int g, int b);
// Returns 0x00RRGGBB (the low 8 bits of each component). Any hue is accepted; outside 0..383 it
// extrapolates the nearest sextant.
uint32_t RgbFromHsv(HsvColor hsv);
