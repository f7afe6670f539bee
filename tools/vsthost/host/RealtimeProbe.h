// Counts what a plug-in does on a host's audio thread that a real-time thread must not: heap
// allocations, frees, and locks taken (with those that had to wait for another thread). Only
// threads marked as audio threads count, and only while no host code of ours runs on them (the
// host callback pauses the count), so the figures are the plug-in's own.
//
// Linux: the allocator entry points and the pthread lock calls are interposed in the executable
// (forwarding to glibc), or, in sanitizer builds, where the sanitizer owns the allocator, watched
// through its allocation hooks; lock calls are not interposed under ThreadSanitizer, which has
// its own. An unmarked thread pays one thread-local test per call. Windows: not available.
#pragma once

#include <cstdint>

struct RealtimeCounts {
    int64_t allocations = 0;  // malloc, calloc, realloc, aligned and C++ allocations
    int64_t frees = 0;
    int64_t locks = 0;      // mutexes and read-write locks taken
    int64_t lockWaits = 0;  // of those, the ones another thread held
};

class RealtimeProbe {
  public:
    // Whether allocations are counted in this build, and whether locks are. [any thread]
    static bool CountsAllocations();
    static bool CountsLocks();
    // How the counting is done, for a report ("allocator interposed", ...). [any thread]
    static const char* Method();

    // Marks the calling thread as an audio thread (or no longer); its counts start from zero.
    // [any thread], for itself
    static void MarkThisThread(bool audio);
    // The calling thread's counts since it was marked. [any thread], for itself
    static RealtimeCounts ThisThread();

    // While alive, the calling thread's calls are not counted: the host's own work done on an
    // audio thread (answering a callback). Nests. [any thread], for itself
    class Pause {
      public:
        Pause();
        ~Pause();
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;
    };
};
