#pragma once

#include <cstddef>
#include <cstdint>

// Growable heap block behind every list and byte buffer of the plug-in.
//
// Capacity rule (granularity g, normally 4096): resizing to n bytes (negative counts as 0)
// reallocates only when n exceeds the capacity, or, when the caller asks to release memory and n is
// below the current length, when n is below max(1, min(capacity / 2, capacity - 4g)). The new
// capacity for n > 0 is n + extra with extra = max(n / 2, g); for g >= 4096 extra is rounded down to
// a multiple of 4096 and kept within 4096 .. 4194304, and the capacity becomes
// ((n + extra + 96) rounded down to a multiple of 4096) - 96. n = 0 frees the block.
//
// A failed reallocation falls back to allocate + copy; when that fails too, or when n exceeds
// MaxBytes, the buffer keeps its old block and length and Resize answers false.
//
// Contents are moved bytewise: store only trivially copyable data. Not thread-safe; the owner's
// lock guards it.
class GrowBuffer {
  public:
    static constexpr int kDefaultGranularity = 4096;
    // Upper bound for any single buffer (1 GiB): keeps every size computation far from overflow
    // and turns absurd host-supplied lengths into an ordinary failure.
    static constexpr intptr_t MaxBytes = intptr_t{1} << 30;

    explicit GrowBuffer(int granularity = kDefaultGranularity) noexcept;
    ~GrowBuffer();
    GrowBuffer(const GrowBuffer&) = delete;
    GrowBuffer& operator=(const GrowBuffer&) = delete;
    GrowBuffer(GrowBuffer&& other) noexcept;
    GrowBuffer& operator=(GrowBuffer&& other) noexcept;

    // Sets the length to n bytes (see the capacity rule). New bytes are not initialised.
    bool Resize(intptr_t n, bool releaseMemory = false) noexcept;
    // Appends n bytes copied from data (data may be null only when n is 0).
    bool Append(const void* data, intptr_t n) noexcept;
    // Length 0 and block freed.
    void Free() noexcept { Resize(0, true); }

    void* Data() noexcept { return block_; }
    const void* Data() const noexcept { return block_; }
    intptr_t Size() const noexcept { return length_; }
    intptr_t Capacity() const noexcept { return capacity_; }
    int Granularity() const noexcept { return granularity_; }

    // The capacity the rule above gives for a request of n > 0 bytes.
    static intptr_t CapacityFor(intptr_t n, int granularity) noexcept;

    // Raw allocation functions; tests replace them to exercise the failure paths. Defaults are
    // realloc, malloc and free.
    struct Allocator {
        void* (*reallocate)(void* block, size_t bytes);
        void* (*allocate)(size_t bytes);
        void (*release)(void* block);
    };
    static Allocator SetAllocatorForTesting(Allocator allocator) noexcept;

  private:
    void* block_ = nullptr;
    intptr_t length_ = 0;
    intptr_t capacity_ = 0;
    int granularity_;
};
