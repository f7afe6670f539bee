// Timing for the self-timed benchmarks: two ways of processing the same blocks, alternating in runs
// of about 16384 frames so that a change in the machine's load between them cannot skew the ratio
// and the clock reads stay negligible.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ctime>

// Keeps the compiler from dropping or merging the work between two clock reads.
inline void ClobberMemory() {
    asm volatile("" : : : "memory");
}

// Where the thread's CPU clock ticks finely enough (natively), the calling thread's CPU time in ns:
// time the thread spends preempted by other work on a shared machine does not count, for either
// side. Where it is coarse (Wine counts it in scheduler ticks), the monotonic wall clock; the
// alternating runs keep the ratio fair there too.
inline bool ThreadClockIsFine() {
    static const bool fine = [] {
        timespec resolution{};
        return clock_getres(CLOCK_THREAD_CPUTIME_ID, &resolution) == 0 && resolution.tv_sec == 0 &&
               resolution.tv_nsec <= 1000;
    }();
    return fine;
}

inline double ThreadNs() {
    if (!ThreadClockIsFine()) {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    }
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// ns per frame of each side: over all runs, and in its fastest run (which keeps a shared
// machine's interruptions out of the ratio).
struct AlternatingRuns {
    double a = 0, b = 0;
    double fastestA = 0, fastestB = 0;
};

// Alternates runs of blockA(k) and blockB(k) (k: the block's index in its run, 0 first) on blocks
// of frames until both sides together took seconds.
template <class BlockA, class BlockB>
AlternatingRuns TimeAlternating(int frames, double seconds, BlockA blockA, BlockB blockB) {
    const int run = std::max(1, 16384 / frames);
    double totalA = 0, totalB = 0, bestA = 1e300, bestB = 1e300;
    int64_t rounds = 0;
    while (totalA + totalB < seconds * 1e9) {
        const double t0 = ThreadNs();
        for (int k = 0; k < run; ++k) {
            blockA(k);
            ClobberMemory();
        }
        const double t1 = ThreadNs();
        for (int k = 0; k < run; ++k) {
            blockB(k);
            ClobberMemory();
        }
        const double t2 = ThreadNs();
        totalA += t1 - t0;
        totalB += t2 - t1;
        bestA = std::min(bestA, t1 - t0);
        bestB = std::min(bestB, t2 - t1);
        ++rounds;
    }
    const double runFrames = static_cast<double>(run) * frames;
    const double allFrames = static_cast<double>(rounds) * runFrames;
    return {totalA / allFrames, totalB / allFrames, bestA / runFrames, bestB / runFrames};
}
