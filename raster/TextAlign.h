#pragma once

#include "raster/RasterFont.h"
#include "raster/TextRect.h"

// Where a text box lands in a rectangle under the alignment bits of the text flags: the one
// placement rule of the platform renderers and of the cached renderer. Any thread.
//
// The two renderers centre differently, and the difference shows when a text overflows its
// rectangle by an odd number of pixels: the platform halves the sum of the edges less the extent
// (GDI's rule), the cached renderer moves from the first edge by half of the free room. Both
// divisions truncate toward zero.
enum class TextCentring { HalfOfEdgeSum, HalfOfRoom };

// Start of an extent on one axis between start and end: at start, centred, or against end.
// 64-bit, so that no rectangle and no extent can overflow.
inline long long AlignedStart(int start, int end, long long extent, bool centre, bool toEnd,
                              TextCentring centring) {
    if (centre)
        return centring == TextCentring::HalfOfEdgeSum ? (static_cast<long long>(start) + end - extent) / 2
                                                       : start + (end - extent - start) / 2;
    return toEnd ? end - extent : start;
}

inline long long AlignedLeft(const TextRect& rect, long long width, unsigned textFlags,
                             TextCentring centring) {
    return AlignedStart(rect.left, rect.right, width, textFlags & TextCenter, textFlags & TextRight,
                        centring);
}

inline long long AlignedTop(const TextRect& rect, long long height, unsigned textFlags,
                            TextCentring centring) {
    return AlignedStart(rect.top, rect.bottom, height, textFlags & TextVCenter, textFlags & TextBottom,
                        centring);
}
