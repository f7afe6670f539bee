#include "raster/Blit.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "raster/BlendRules.h"
#include "raster/ClippedSpan.h"
#include "raster/PixelRows.h"

namespace {

// A clipped copy job: `columns` x `rows` pixels from source (sx, sy) to destination (dx, dy).
struct BlitArea {
    int sx, sy, dx, dy, columns, rows;
};

// False when nothing is left after clipping.
bool ClipBlit(RasterBitmap& dest, RasterBitmap& src, long long x, long long y, const BlitSourceRect* srcRect,
              BlitArea& area) {
    long long sl = 0, st = 0, sr = src.Width(), sb = src.Height();
    if (srcRect) {
        sl = srcRect->left, st = srcRect->top, sr = srcRect->right, sb = srcRect->bottom;
        if (sl < 0) x -= sl, sl = 0;
        if (st < 0) y -= st, st = 0;
        sr = std::min<long long>(sr, src.Width());
        sb = std::min<long long>(sb, src.Height());
    }
    const ClippedSpan columns = ClippedSpan::Clip(x, sr - sl, dest.Width());
    const ClippedSpan rows = ClippedSpan::Clip(y, sb - st, dest.Height());
    if (columns.Empty() || rows.Empty()) return false;
    area = {static_cast<int>(sl + columns.skipped), static_cast<int>(st + rows.skipped),
            static_cast<int>(columns.start),        static_cast<int>(rows.start),
            static_cast<int>(columns.length),       static_cast<int>(rows.length)};
    return true;
}

template <class RowOp>
void ForEachRow(RasterBitmap& dest, RasterBitmap& src, const BlitArea& a, RowOp op) {
    for (int i = 0; i < a.rows; ++i)
        op(ImageRow(dest, a.dy + i) + a.dx, ImageRow(src, a.sy + i) + a.sx, a.columns);
}

void ChannelCopy(RasterBitmap& dest, RasterBitmap& src, const BlitArea& a, int mode) {
    const int to = (mode >> 2) & 3, from = mode & 3;
    ForEachRow(dest, src, a, [to, from](uint32_t* d, const uint32_t* s, int n) {
        auto* db = reinterpret_cast<unsigned char*>(d) + to;
        auto* sb = reinterpret_cast<const unsigned char*>(s) + from;
        for (int i = 0; i < n; ++i) db[4 * i] = sb[4 * i];
    });
}

}  // namespace

void Blit(RasterBitmap* dest, RasterBitmap* src, int x, int y, const BlitSourceRect* srcRect, float alpha,
          int mode) {
    if (!HasPixels(dest) || !HasPixels(src) || alpha == 0.0f) return;
    BlitArea area;
    if (!ClipBlit(*dest, *src, x, y, srcRect, area)) return;

    if ((mode & BlendModeMask) >= BlendChannelCopy) return ChannelCopy(*dest, *src, area, mode);

    if ((mode & (BlendModeMask | BlendUseSourceAlpha)) == BlendCopy) {
        if (alpha == 1.0f)
            return ForEachRow(*dest, *src, area, [](uint32_t* d, const uint32_t* s, int n) {
                std::memmove(d, s, static_cast<size_t>(n) * sizeof(uint32_t));
            });
        if (alpha == 0.5f)
            return ForEachRow(*dest, *src, area, [](uint32_t* d, const uint32_t* s, int n) {
                for (int i = 0; i < n; ++i) d[i] = blend::MixHalf(s[i], d[i]);
            });
    }

    const int w = blend::WeightFromAlpha(alpha);
    if (w == 0) return;
    blend::WithSourceRule(mode, w, [&](auto rule) {
        using Rule = decltype(rule);
        ForEachRow(*dest, *src, area, [w](uint32_t* d, const uint32_t* s, int n) {
            for (int i = 0; i < n; ++i) d[i] = Rule::Apply(d[i], s[i], static_cast<int>(s[i] >> 24), w);
        });
    });
}

void BlitRect(RasterBitmap* dest, RasterBitmap* src, int x, int y, int srcX, int srcY, int width, int height,
              float alpha, int mode) {
    auto end = [](int start, int length) {
        return static_cast<int>(
            std::clamp<long long>(static_cast<long long>(start) + length, INT_MIN, INT_MAX));
    };
    BlitSourceRect rect{srcX, srcY, end(srcX, width), end(srcY, height)};
    Blit(dest, src, x, y, &rect, alpha, mode);
}
