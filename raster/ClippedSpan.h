#pragma once

#include <algorithm>

// One axis of a destination area, clipped to the bitmap: [start, start + length) cut to
// [0, limit). `skipped` is how far the start moved right (or down), so the caller moves its source
// position by as many steps. Computed in 64-bit, so extreme coordinates cannot overflow; the span is
// empty when length is not positive.
struct ClippedSpan {
    long long start;
    long long length;
    long long skipped;

    bool Empty() const { return length <= 0; }

    static ClippedSpan Clip(long long start, long long length, long long limit) {
        const long long skipped = start < 0 ? -start : 0;
        start += skipped;
        return {start, std::min(length - skipped, limit - start), skipped};
    }
};
