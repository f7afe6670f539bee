#pragma once

#include <cstdint>

// The editor's timer when the host drives it through idle calls: how many ticks are due at a
// frame rate, measured on a monotonic clock, so that the tick rate does not depend on how often
// the host calls idle. A call runs at most kMaxTicksPerCall ticks: three, the fewest that keep
// the full 24 ticks a second for a host idling only every 100 ms (2.4 due per call). When more
// are due (a host that stalled) the rest is dropped and the clock starts again from now, instead
// of replaying seconds of ticks at once. Pure logic: the caller passes the time; used by one
// thread at a time.
class TickClock {
  public:
    static constexpr int kMaxTicksPerCall = 3;

    // ticksPerSecond <= 0 means 24.
    explicit TickClock(int ticksPerSecond)
        : period(1000000000 / (ticksPerSecond > 0 ? ticksPerSecond : 24)) {}

    // Starts counting: the first tick is due one period after now.
    void Start(int64_t nowNanoseconds) {
        next = nowNanoseconds + period;
        started = true;
    }
    // The ticks to run now (0 to kMaxTicksPerCall); starts the clock on the first call.
    int Due(int64_t nowNanoseconds) {
        if (!started) {
            Start(nowNanoseconds);
            return 0;
        }
        if (nowNanoseconds < next) return 0;
        const int64_t due = (nowNanoseconds - next) / period + 1;
        if (due > kMaxTicksPerCall) {
            next = nowNanoseconds + period;
            return kMaxTicksPerCall;
        }
        next += due * period;
        return static_cast<int>(due);
    }
    int64_t Period() const { return period; }

    // The monotonic clock in nanoseconds. [any thread]
    static int64_t Now();

  private:
    int64_t period;
    int64_t next = 0;
    bool started = false;
};
