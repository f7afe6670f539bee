#include "raster/FillRect.h"

#include <algorithm>

#include "raster/BlendRules.h"
#include "raster/BlendMode.h"
#include "raster/PixelRows.h"

namespace {

template <class PixelOp>
void ForEachPixel(RasterBitmap& dest, int x, int y, int width, int height, PixelOp op) {
    for (int row = 0; row < height; ++row) {
        uint32_t* p = ImageRow(dest, y + row) + x;
        for (int i = 0; i < width; ++i) p[i] = op(p[i]);
    }
}

}  // namespace

void FillRect(RasterBitmap* dest, int x, int y, int width, int height, uint32_t colour, float alpha,
              int mode) {
    if (mode & BlendUseSourceAlpha) alpha = alpha * (static_cast<float>(colour >> 24) * 0.003921569f);

    long long left = x, top = y, w = width, h = height;
    if (left < 0) w += left, left = 0;
    if (top < 0) h += top, top = 0;
    if (alpha == 0.0f || !HasPixels(dest) || dest->RowSpan() == 0 || w <= 0 || h <= 0 ||
        left >= dest->Width() || top >= dest->Height())
        return;
    w = std::min<long long>(w, dest->Width() - left);
    h = std::min<long long>(h, dest->Height() - top);
    const int fx = static_cast<int>(left), fy = static_cast<int>(top);
    const int fw = static_cast<int>(w), fh = static_cast<int>(h);

    const int weight = blend::WeightFromAlpha(alpha);
    const int rule = mode & BlendModeMask;
    const uint32_t c = colour;
    if (rule == BlendCopy) {
        switch (weight) {
            case 256:
                return ForEachPixel(*dest, fx, fy, fw, fh, [c](uint32_t) { return c; });
            case 128:
                return ForEachPixel(*dest, fx, fy, fw, fh, [c](uint32_t p) { return blend::MixHalf(c, p); });
            case 64:
                return ForEachPixel(*dest, fx, fy, fw, fh,
                                    [c](uint32_t p) { return blend::MixQuarter(c, p); });
            case 192:
                return ForEachPixel(*dest, fx, fy, fw, fh,
                                    [c](uint32_t p) { return blend::MixThreeQuarters(c, p); });
            default:
                break;
        }
    }
    if (weight == 0 || (rule == BlendCopy && weight < 0)) return;
    // The weight stands in for the source alpha; the colour's own alpha does not enter.
    blend::WithPlainRule(rule, [&](auto r) {
        using Rule = decltype(r);
        ForEachPixel(*dest, fx, fy, fw, fh, [=](uint32_t p) { return Rule::Apply(p, c, weight, weight); });
    });
}
