#include "raster/MemoryBitmap.h"

#include <climits>
#include <cstdlib>

namespace {

constexpr int kSlack = 63;  // room to round the pointer up to a 64-byte boundary

unsigned MaskForAlignment(int alignment) {
    if (alignment < 2) return 0;
    unsigned lowest = static_cast<unsigned>(alignment) & (0u - static_cast<unsigned>(alignment));
    if (lowest > 16) lowest = 16;
    return lowest - 1;
}

// Row span for a width, in 64-bit so that absurd widths cannot overflow.
long long SpanFor(int width, unsigned mask) {
    return (static_cast<long long>(width) + mask) & ~static_cast<long long>(mask);
}

}  // namespace

MemoryBitmap::MemoryBitmap(int width, int height, int rowAlignment)
    : alignMask_(MaskForAlignment(rowAlignment)) {
    if (width > 0 && height > 0) Resize(width, height);
}

MemoryBitmap::~MemoryBitmap() {
    Release();
}

void MemoryBitmap::Release() {
    std::free(allocation_);
    allocation_ = nullptr;
    capacity_ = 0;
}

uint32_t* MemoryBitmap::Bits() {
    if (!allocation_) return nullptr;
    auto address = reinterpret_cast<uintptr_t>(allocation_);
    return reinterpret_cast<uint32_t*>((address + kSlack) & ~static_cast<uintptr_t>(kSlack));
}

int MemoryBitmap::RowSpan() {
    long long span = SpanFor(width_, alignMask_);
    return span > INT_MAX ? INT_MAX : static_cast<int>(span);
}

bool MemoryBitmap::Resize(int width, int height) {
    if (width == width_ && height == height_) return false;
    width_ = width;
    height_ = height;

    // The byte count must fit a signed 32-bit int; anything larger counts as a failed allocation.
    long long needed = 0;
    if (width > 0 && height > 0) {
        needed = static_cast<long long>(height) * SpanFor(width, alignMask_) * 4;
        if (needed > INT_MAX - kSlack) needed = -1;
    }

    if (needed > 0) {
        if (!allocation_) {
            capacity_ = static_cast<int>(needed);
            allocation_ = std::malloc(static_cast<size_t>(needed) + kSlack);
        } else if (capacity_ < needed) {
            long long grown = needed / 4 * 5;
            if (grown > INT_MAX - kSlack) grown = needed;
            void* moved = std::realloc(allocation_, static_cast<size_t>(grown) + kSlack);
            if (moved) {
                allocation_ = moved;
                capacity_ = static_cast<int>(grown);
            } else {
                std::free(allocation_);
                capacity_ = static_cast<int>(needed);
                allocation_ = std::malloc(static_cast<size_t>(needed) + kSlack);
            }
        }
    } else {
        Release();
    }

    if (!allocation_) {
        capacity_ = 0;
        width_ = 0;
        height_ = 0;
    }
    return true;
}
