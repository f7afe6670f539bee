#pragma once

#include <cstdint>

#include "base/GrowBuffer.h"

// A channel's scratch samples start on a cache line: the vector code then reads and writes whole
// lines, and the speed of a build no longer depends on where its heap happened to put a block.
constexpr intptr_t kScratchAlignment = 64;

// The bytes a scratch buffer holds for frames samples, the slack for the alignment included.
inline intptr_t ScratchBytes(int frames) {
    return frames > 0
               ? static_cast<intptr_t>(frames) * static_cast<intptr_t>(sizeof(double)) + kScratchAlignment
               : 0;
}

inline double* AlignedScratch(GrowBuffer& scratch) noexcept {
    if (scratch.Size() < kScratchAlignment) return static_cast<double*>(scratch.Data());
    const auto at = reinterpret_cast<uintptr_t>(scratch.Data());
    const uintptr_t mask = static_cast<uintptr_t>(kScratchAlignment) - 1;
    return reinterpret_cast<double*>((at + mask) & ~mask);
}

inline int AlignedScratchFrames(const GrowBuffer& scratch) noexcept {
    const intptr_t usable = scratch.Size() - kScratchAlignment;
    return usable > 0 ? static_cast<int>(usable / static_cast<intptr_t>(sizeof(double))) : 0;
}
