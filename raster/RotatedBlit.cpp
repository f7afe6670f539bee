#include "raster/RotatedBlit.h"

#include <algorithm>
#include <cstddef>

#include "raster/BlendMode.h"
#include "raster/BlendRules.h"
#include "raster/ClippedSpan.h"
#include "raster/PixelRows.h"
#include "raster/PortableSinCos.h"

namespace {

// Saturating conversions: geometry from callers may be absurd, conversions must not be UB.
int TruncToInt(double v) {
    if (!(v == v)) return 0;
    return static_cast<int>(std::clamp(v, -2147483648.0, 2147483647.0));
}

long long Fixed(double v) {
    return TruncToInt(v * 65536.0);
}

// The sampled part of the source: its top-left pixel and the step from one image row to the
// next (negative for flipped bitmaps), looked up once instead of per sample.
struct Region {
    const uint32_t* origin;
    ptrdiff_t stride;
    int width, height;

    uint32_t At(int x, int y) const { return origin[y * stride + x]; }
    // The pixel a 16.16 position falls in; false outside the region.
    bool Locate(long long u, long long v, int& x, int& y) const {
        const long long ix = u >> 16, iy = v >> 16;
        if (static_cast<unsigned long long>(ix) >= static_cast<unsigned long long>(width) ||
            static_cast<unsigned long long>(iy) >= static_cast<unsigned long long>(height))
            return false;
        x = static_cast<int>(ix), y = static_cast<int>(iy);
        return true;
    }
};

struct Walk {
    long long u0, v0, dudx, dvdx, dudy, dvdy;
};

// The samplers are types rather than functions so that the per-pixel call inlines into the walk.
struct Nearest {
    static bool Sample(const Region& r, long long u, long long v, uint32_t& out) {
        int x, y;
        if (!r.Locate(u, v, x, y)) return false;
        out = r.At(x, y);
        return true;
    }
};

uint32_t Lerp2(uint32_t a, uint32_t b, uint32_t wb) {
    uint32_t wa = 0x10000 - wb, out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= ((wa * (a >> shift & 0xFF) + wb * (b >> shift & 0xFF)) >> 16) << shift;
    return out;
}

// Two channels of a pixel, each in its own 32-bit lane of a 64-bit word: blue and red (even), or
// green and alpha (odd). The four tap weights add up to exactly 0x10000, so a lane's weighted sum
// never exceeds 255 * 0x10000 and cannot spill into its neighbour: two channels cost one multiply.
inline uint64_t EvenLanes(uint32_t p) {
    return (p & 0xFFu) | static_cast<uint64_t>(p & 0xFF0000u) << 16;
}
inline uint64_t OddLanes(uint32_t p) {
    return EvenLanes(p >> 8);
}
inline uint32_t PackLanes(uint64_t even, uint64_t odd) {
    constexpr uint64_t kByteInLanes = 0x000000FF000000FFull;
    even = (even >> 16) & kByteInLanes, odd = (odd >> 16) & kByteInLanes;
    return static_cast<uint32_t>(even | even >> 16) | static_cast<uint32_t>(odd | odd >> 16) << 8;
}

// With SkipClear, a sample whose four taps are all fully transparent is not drawn: its alpha
// would be 0, which the rule ignores anyway (the knob rings are mostly such pixels).
template <bool SkipClear>
struct Bilinear {
    static bool Sample(const Region& r, long long u, long long v, uint32_t& out) {
        int x, y;
        if (!r.Locate(u, v, x, y)) return false;
        const uint32_t fx = static_cast<uint32_t>(u & 0xFFFF), fy = static_cast<uint32_t>(v & 0xFFFF);
        const bool lastColumn = x == r.width - 1, lastRow = y == r.height - 1;
        if (lastColumn || lastRow) {
            if (lastColumn && lastRow)
                out = r.At(x, y);
            else if (lastColumn)
                out = Lerp2(r.At(x, y), r.At(x, y + 1), fy);
            else
                out = Lerp2(r.At(x, y), r.At(x + 1, y), fx);
            return true;
        }
        // Weights in 32 bits: 0x10000 - fx - fy may wrap on its own, and only the whole sum is exact.
        const uint32_t w11 = (fx * fy) >> 16, w10 = fx - w11, w01 = fy - w11;
        const uint32_t w00 = 0x10000 - fx - fy + w11;
        const uint32_t* p = r.origin + static_cast<ptrdiff_t>(y) * r.stride + x;
        const uint32_t p00 = p[0], p10 = p[1], p01 = p[r.stride], p11 = p[r.stride + 1];
        if (SkipClear && ((p00 | p10 | p01 | p11) >> 24) == 0) return false;
        const uint64_t even =
            w00 * EvenLanes(p00) + w10 * EvenLanes(p10) + w01 * EvenLanes(p01) + w11 * EvenLanes(p11);
        const uint64_t odd =
            w00 * OddLanes(p00) + w10 * OddLanes(p10) + w01 * OddLanes(p01) + w11 * OddLanes(p11);
        out = PackLanes(even, odd);
        return true;
    }
};

template <class Rule, class Sampler>
void Draw(RasterBitmap& dest, int dstX, int dstY, int width, int height, const Region& region,
          const Walk& walk, int w) {
    long long rowU = walk.u0, rowV = walk.v0;
    for (int j = 0; j < height; ++j, rowU += walk.dudy, rowV += walk.dvdy) {
        uint32_t* d = ImageRow(dest, dstY + j) + dstX;
        long long u = rowU, v = rowV;
        for (int i = 0; i < width; ++i, u += walk.dudx, v += walk.dvdx) {
            uint32_t s;
            if (Sampler::Sample(region, u, v, s)) d[i] = Rule::Apply(d[i], s, static_cast<int>(s >> 24), w);
        }
    }
}

}  // namespace

void RotatedBlit(RasterBitmap* dest, RasterBitmap* src, int dstX, int dstY, int dstWidth, int dstHeight,
                 float srcX, float srcY, float srcWidth, float srcHeight, float angle, bool clipToSourceRect,
                 float alpha, int mode, float centreOffsetX, float centreOffsetY) {
    if (!HasPixels(dest) || !HasPixels(src) || dstWidth == 0 || dstHeight == 0) return;

    double left = 0, top = 0, right = src->Width(), bottom = src->Height();
    if (clipToSourceRect) {
        if (srcX > 0) left = srcX;
        if (srcY > 0) top = srcY;
        if (srcX + srcWidth < src->Width()) right = srcX + srcWidth;
        if (srcY + srcHeight < src->Height()) bottom = srcY + srcHeight;
    }

    // Mirrored axes: the walk runs backwards over the source from its far edge.
    long long x0 = dstX, y0 = dstY, dw = dstWidth, dh = dstHeight;
    if (dw < 0) dw = -dw, x0 -= dw, srcX += srcWidth, srcWidth = -srcWidth;
    if (dh < 0) dh = -dh, y0 -= dh, srcY += srcHeight, srcHeight = -srcHeight;

    const float sx = srcWidth / static_cast<float>(dw), sy = srcHeight / static_cast<float>(dh);
    // Not the C library's sinf/cosf: their last bits differ between platforms, and so would the
    // sample positions and the pixels.
    double s = 0.0, c = 1.0;
    PortableSinCos(static_cast<double>(angle), s, c);
    const double dudx = sx * c, dvdx = -sy * s, dudy = sx * s, dvdy = sy * c;
    // The sizes enter as doubles: in single precision their products with the scales miss the
    // source edge by a fraction of a step, enough to lose a column or row at the start.
    const double across = static_cast<double>(dw), down = static_cast<double>(dh);
    double startU = srcX - ((across * sx * c + down * sx * s - srcWidth) * 0.5 - centreOffsetX);
    double startV = srcY - ((across * (-sy * s) + down * sy * c - srcHeight) * 0.5 - centreOffsetY);

    const ClippedSpan columns = ClippedSpan::Clip(x0, dw, dest->Width());
    const ClippedSpan rows = ClippedSpan::Clip(y0, dh, dest->Height());
    if (columns.Empty() || rows.Empty()) return;
    startU += columns.skipped * dudx, startV += columns.skipped * dvdx;
    startU += rows.skipped * dudy, startV += rows.skipped * dvdy;

    const int regionLeft = TruncToInt(left), regionTop = TruncToInt(top);
    const int regionWidth = TruncToInt(right) - regionLeft, regionHeight = TruncToInt(bottom) - regionTop;
    if (regionWidth < 1 || regionHeight < 1) return;
    const ptrdiff_t span = src->IsFlipped() ? -static_cast<ptrdiff_t>(src->RowSpan()) : src->RowSpan();
    const Region region{ImageRow(*src, regionTop) + regionLeft, span, regionWidth, regionHeight};

    const Walk walk{Fixed(static_cast<float>(startU - regionLeft)),
                    Fixed(static_cast<float>(startV - regionTop)),
                    Fixed(dudx),
                    Fixed(dvdx),
                    Fixed(dudy),
                    Fixed(dvdy)};

    const int w = blend::WeightFromAlpha(alpha);
    if (w == 0) return;
    const bool bilinear = (mode & BlendFilterMask) == BlendFilterBilinear;
    const int x = static_cast<int>(columns.start), y = static_cast<int>(rows.start);
    const int width = static_cast<int>(columns.length), height = static_cast<int>(rows.length);
    blend::WithSourceRule(mode, w, [&](auto rule) {
        using Rule = decltype(rule);
        if (bilinear)
            Draw<Rule, Bilinear<blend::KeepsClearSource<Rule>()>>(*dest, x, y, width, height, region, walk,
                                                                  w);
        else
            Draw<Rule, Nearest>(*dest, x, y, width, height, region, walk, w);
    });
}
