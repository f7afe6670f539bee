#pragma once

#include <cstdint>

// Counts heap allocations (global operator new / new[], and malloc, calloc and realloc called from
// code linked into the test executable) between Start and Stop, for "no allocation on the audio
// path" tests. Works natively, under ASan and in mingw builds run under Wine.
//
// Counting is process-wide: allocations made by any thread while counting is on are counted, so
// keep other threads quiet during a measured section. One measurement at a time.
class AllocationCounter {
  public:
    void Start() noexcept;
    void Stop() noexcept;
    // Allocations seen by the last (or the running) measurement.
    int64_t Count() const noexcept;
};
