#include "base/GrowBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

GrowBuffer::Allocator& CurrentAllocator() noexcept {
    static GrowBuffer::Allocator allocator{&std::realloc, &std::malloc, &std::free};
    return allocator;
}

constexpr intptr_t kPage = 4096;
constexpr intptr_t kMaxExtra = 4194304;
constexpr intptr_t kHeader = 96;

}  // namespace

GrowBuffer::GrowBuffer(int granularity) noexcept : granularity_(granularity > 0 ? granularity : 1) {}

GrowBuffer::~GrowBuffer() {
    if (block_ != nullptr) CurrentAllocator().release(block_);
}

GrowBuffer::GrowBuffer(GrowBuffer&& other) noexcept
    : block_(std::exchange(other.block_, nullptr)),
      length_(std::exchange(other.length_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      granularity_(other.granularity_) {}

GrowBuffer& GrowBuffer::operator=(GrowBuffer&& other) noexcept {
    if (this != &other) {
        if (block_ != nullptr) CurrentAllocator().release(block_);
        block_ = std::exchange(other.block_, nullptr);
        length_ = std::exchange(other.length_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        granularity_ = other.granularity_;
    }
    return *this;
}

intptr_t GrowBuffer::CapacityFor(intptr_t n, int granularity) noexcept {
    const intptr_t g = granularity > 0 ? granularity : 1;
    intptr_t extra = std::max(n / 2, g);
    if (g < kPage) return n + extra;
    extra = std::clamp(extra / kPage * kPage, kPage, kMaxExtra);
    return (n + extra + kHeader) / kPage * kPage - kHeader;
}

bool GrowBuffer::Resize(intptr_t n, bool releaseMemory) noexcept {
    if (n < 0) n = 0;
    if (n > MaxBytes) return false;
    bool reallocate = n > capacity_;
    if (!reallocate && releaseMemory && n < length_) {
        const intptr_t g = granularity_;
        const intptr_t threshold = std::max<intptr_t>(1, std::min(capacity_ / 2, capacity_ - 4 * g));
        reallocate = n < threshold;
    }
    if (!reallocate) {
        length_ = n;
        return true;
    }
    Allocator& allocator = CurrentAllocator();
    if (n == 0) {
        if (block_ != nullptr) allocator.release(block_);
        block_ = nullptr;
        length_ = capacity_ = 0;
        return true;
    }
    const intptr_t capacity = CapacityFor(n, granularity_);
    void* grown = allocator.reallocate(block_, static_cast<size_t>(capacity));
    if (grown == nullptr) {
        // Some allocators cannot move a block in place; a fresh block and a copy may still succeed.
        grown = allocator.allocate(static_cast<size_t>(capacity));
        if (grown == nullptr) return false;
        if (block_ != nullptr) {
            std::memcpy(grown, block_, static_cast<size_t>(std::min(length_, n)));
            allocator.release(block_);
        }
    }
    block_ = grown;
    capacity_ = capacity;
    length_ = n;
    return true;
}

bool GrowBuffer::Append(const void* data, intptr_t n) noexcept {
    if (n <= 0) return n == 0;
    if (data == nullptr || n > MaxBytes - length_) return false;
    const intptr_t at = length_;
    if (!Resize(at + n)) return false;
    std::memcpy(static_cast<char*>(block_) + at, data, static_cast<size_t>(n));
    return true;
}

GrowBuffer::Allocator GrowBuffer::SetAllocatorForTesting(Allocator allocator) noexcept {
    return std::exchange(CurrentAllocator(), allocator);
}
