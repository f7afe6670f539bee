#include "raster/HsvColor.h"

HsvColor HsvFromRgb(int r, int g, int b) {
    int max, min, base, numerator;
    if (g > r && g > b) {
        max = g, base = 128, numerator = b - r, min = r < b ? r : b;
    } else if (b >= g && g > r) {
        max = b, base = 256, numerator = r - g, min = r;
    } else if (r > b && b > g) {
        max = r, base = 383, numerator = g - b, min = g;
    } else if (r > b && r >= g) {
        max = r, base = 0, numerator = g - b, min = b;
    } else {
        max = b, base = 256, numerator = r - g, min = g;
    }
    int delta = max - min;
    HsvColor hsv;
    hsv.s = ReciprocalTable[max & 0xFF] * delta / 256;
    hsv.h = base + numerator * (ReciprocalTable[delta & 0xFF] + 1) / 1024;
    hsv.v = max;
    return hsv;
}

uint32_t RgbFromHsv(HsvColor hsv) {
    // A hue pushed far outside one turn (a huge blend weight) makes k large: 64-bit products.
    const long long h = hsv.h, s = hsv.s, v = hsv.v;
    const long long m = (256 - s) * v / 256;
    auto edge = [&](long long k) { return v * (16384 - k * s) / 16384; };
    long long r, g, b;
    if (h < 64)
        r = v, g = edge(64 - h), b = m;
    else if (h < 128)
        r = edge(h - 64), g = v, b = m;
    else if (h < 192)
        r = m, g = v, b = edge(192 - h);
    else if (h < 256)
        r = m, g = edge(h - 192), b = v;
    else if (h < 320)
        r = edge(320 - h), g = m, b = v;
    else
        r = v, g = m, b = edge(h - 320);
    return static_cast<uint32_t>(r & 0xFF) << 16 | static_cast<uint32_t>(g & 0xFF) << 8 |
           static_cast<uint32_t>(b & 0xFF);
}
