#include "tests/support/AllocationCounter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

// The executable links with --wrap=malloc,calloc,realloc (see CMakeLists.txt): every call from our
// own, statically linked code reaches the __wrap_ functions below, which count and forward to the
// real allocator. Global operator new is replaced so that C++ allocations count once, whatever
// the C runtime does underneath.

extern "C" void* __real_malloc(size_t bytes);
extern "C" void* __real_calloc(size_t count, size_t bytes);
extern "C" void* __real_realloc(void* block, size_t bytes);

namespace {

std::atomic<bool> counting{false};
std::atomic<int64_t> allocations{0};

void Note() noexcept {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}

void* NewBlock(size_t bytes) {
    Note();
    void* block = __real_malloc(bytes != 0 ? bytes : 1);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

void* NewBlockNoThrow(size_t bytes) noexcept {
    Note();
    return __real_malloc(bytes != 0 ? bytes : 1);
}

}  // namespace

extern "C" void* __wrap_malloc(size_t bytes) {
    Note();
    return __real_malloc(bytes);
}

extern "C" void* __wrap_calloc(size_t count, size_t bytes) {
    Note();
    return __real_calloc(count, bytes);
}

extern "C" void* __wrap_realloc(void* block, size_t bytes) {
    Note();
    return __real_realloc(block, bytes);
}

void* operator new(size_t bytes) {
    return NewBlock(bytes);
}
void* operator new[](size_t bytes) {
    return NewBlock(bytes);
}
void* operator new(size_t bytes, const std::nothrow_t&) noexcept {
    return NewBlockNoThrow(bytes);
}
void* operator new[](size_t bytes, const std::nothrow_t&) noexcept {
    return NewBlockNoThrow(bytes);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

void AllocationCounter::Start() noexcept {
    allocations.store(0);
    counting.store(true);
}

void AllocationCounter::Stop() noexcept {
    counting.store(false);
}

int64_t AllocationCounter::Count() const noexcept {
    return allocations.load();
}
