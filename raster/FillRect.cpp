#include "raster/FillRect.h"

#include <algorithm>

#include "raster/BlendRules.h"
#include "raster/BlendMode.h"
#include "raster/ClippedSpan.h"
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

    if (alpha == 0.0f || !HasPixels(dest) || dest->RowSpan() == 0) return;
    const ClippedSpan columns = ClippedSpan::Clip(x, width, dest->Width());
    const ClippedSpan rows = ClippedSpan::Clip(y, height, dest->Height());
    if (columns.Empty() || rows.Empty()) return;
    const int fx = static_cast<int>(columns.start), fy = static_cast<int>(rows.start);
    const int fw = static_cast<int>(columns.length), fh = static_cast<int>(rows.length);

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
    blend::WithPlainRule(rule, weight, [&](auto r) {
        using Rule = decltype(r);
        ForEachPixel(*dest, fx, fy, fw, fh, [=](uint32_t p) { return Rule::Apply(p, c, weight, weight); });
    });
}
