// Whether this build of vsthost runs under AddressSanitizer: its quarantine keeps freed memory
// resident, so resident size says nothing about leaks there; the heap bytes the allocator holds
// for live blocks do. [any thread]
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define VESMAR_VALIDATE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VESMAR_VALIDATE_ASAN 1
#endif
#endif

#ifdef VESMAR_VALIDATE_ASAN
// The sanitizer runtime's own entry point (GCC installs no header for it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
constexpr bool kUnderAddressSanitizer = true;
// Bytes in live heap blocks, the whole process's.
inline int64_t SanitizerHeapBytes() {
    return static_cast<int64_t>(__sanitizer_get_current_allocated_bytes());
}
#else
constexpr bool kUnderAddressSanitizer = false;
inline int64_t SanitizerHeapBytes() {
    return 0;
}
#endif
