// The wall-clock durations of a run of calls to the plug-in, kept in storage reserved up front (so
// that recording never allocates on the thread being timed), and their distribution. One thread
// records; the distribution is read after it has finished.
#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

class CallTimes {
  public:
    using Clock = std::chrono::steady_clock;

    explicit CallTimes(size_t capacity) { seconds.reserve(capacity); }

    // Records the call that began at start and has just ended; dropped once the storage is full.
    void Since(Clock::time_point start) {
        if (seconds.size() < seconds.capacity())
            seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    size_t Count() const { return seconds.size(); }
    // The duration that the share q (0..1) of the calls does not exceed; 0 when none was recorded.
    double Quantile(double q);
    double Max() { return Quantile(1.0); }

  private:
    std::vector<double> seconds;
    size_t sorted = 0;  // how many of the durations are known to be in order
};
