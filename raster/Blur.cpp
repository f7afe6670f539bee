#include "raster/Blur.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "raster/BlendRules.h"
#include "raster/ClippedSpan.h"
#include "raster/PixelRows.h"

namespace {

using blend::Eighth;
using blend::Half;
using blend::Quarter;

// One output row from the rows above (may be null), itself and below (may be null).
void BlurRow(uint32_t* out, const uint32_t* up, const uint32_t* m, const uint32_t* down, int n) {
    const int last = n - 1;
    if (up && down) {
        out[0] = Eighth(up[0]) + Half(m[0]) + Eighth(down[0]) + Quarter(m[1]);
        for (int i = 1; i < last; ++i)
            out[i] = Eighth(up[i]) + Eighth(down[i]) + Eighth(m[i + 1]) + Half(m[i]) + Eighth(m[i - 1]);
        out[last] = Eighth(up[last]) + Eighth(down[last]) + Half(m[last]) + Quarter(m[last - 1]);
        return;
    }
    const uint32_t* o = up ? up : down;
    out[0] = Quarter(o[0]) + Half(m[0]) + Quarter(m[1]);
    for (int i = 1; i < last; ++i) out[i] = Quarter(o[i]) + Half(m[i]) + Eighth(m[i + 1]) + Eighth(m[i - 1]);
    out[last] = Quarter(o[last]) + Half(m[last]) + Quarter(m[last - 1]);
}

constexpr int kStackRow = 1024;

}  // namespace

void Blur(RasterBitmap* dest, RasterBitmap* src, int dstX, int dstY, int srcX, int srcY, int srcWidth,
          int srcHeight) {
    if (!HasPixels(dest) || !HasPixels(src)) return;
    long long left = std::max(srcX, 0), top = std::max(srcY, 0);
    long long right = std::min<long long>(static_cast<long long>(srcX) + srcWidth, src->Width());
    long long bottom = std::min<long long>(static_cast<long long>(srcY) + srcHeight, src->Height());
    const ClippedSpan horizontal = ClippedSpan::Clip(dstX, right - left, dest->Width());
    const ClippedSpan vertical = ClippedSpan::Clip(dstY, bottom - top, dest->Height());
    if (horizontal.length < 2 || vertical.length < 2) return;

    const int n = static_cast<int>(horizontal.length), rows = static_cast<int>(vertical.length);
    const int sl = static_cast<int>(left + horizontal.skipped), st = static_cast<int>(top + vertical.skipped);
    const int ox = static_cast<int>(horizontal.start), oy = static_cast<int>(vertical.start);
    auto source = [&](int r) -> const uint32_t* { return ImageRow(*src, st + r) + sl; };
    auto target = [&](int r) { return ImageRow(*dest, oy + r) + ox; };

    if (dest != src) {
        for (int r = 0; r < rows; ++r)
            BlurRow(target(r), r > 0 ? source(r - 1) : nullptr, source(r),
                    r + 1 < rows ? source(r + 1) : nullptr, n);
        return;
    }

    // In place. At the same position each row is saved before it is overwritten and the saved
    // copy supplies the row above; elsewhere in the same bitmap output rows could overlap
    // unread source rows, so the whole rectangle is copied first.
    const bool samePlace = ox == sl && oy == st;
    if (!samePlace) {
        std::unique_ptr<uint32_t[]> copy(new (std::nothrow)
                                             uint32_t[static_cast<size_t>(n) * static_cast<size_t>(rows)]);
        if (!copy) return;
        for (int r = 0; r < rows; ++r)
            std::memcpy(&copy[static_cast<size_t>(r) * static_cast<size_t>(n)], source(r),
                        sizeof(uint32_t) * static_cast<size_t>(n));
        auto saved = [&](int r) -> const uint32_t* {
            return &copy[static_cast<size_t>(r) * static_cast<size_t>(n)];
        };
        for (int r = 0; r < rows; ++r)
            BlurRow(target(r), r > 0 ? saved(r - 1) : nullptr, saved(r),
                    r + 1 < rows ? saved(r + 1) : nullptr, n);
        return;
    }

    uint32_t stackRows[2][kStackRow];
    std::unique_ptr<uint32_t[]> heapRows;
    uint32_t* buffers[2] = {stackRows[0], stackRows[1]};
    if (n > kStackRow) {
        heapRows.reset(new (std::nothrow) uint32_t[static_cast<size_t>(n) * 2]);
        buffers[0] = heapRows ? heapRows.get() : nullptr;
        buffers[1] = heapRows ? heapRows.get() + n : nullptr;
    }
    const uint32_t* above = nullptr;
    for (int r = 0; r < rows; ++r) {
        uint32_t* row = target(r);
        const uint32_t* down = r + 1 < rows ? source(r + 1) : nullptr;
        if (buffers[0]) {
            uint32_t* keep = buffers[r & 1];
            std::memcpy(keep, row, sizeof(uint32_t) * static_cast<size_t>(n));
            BlurRow(row, above, keep, down, n);
            above = keep;
        } else {
            // No row buffers: degrade to reading the rows from the bitmap itself.
            BlurRow(row, r > 0 ? target(r - 1) : nullptr, row, down, n);
        }
    }
}
