// A progress bar on stderr for long renders: drawn only when stderr is a terminal and the work
// has already taken a moment, so short runs and logs stay clean.
#pragma once

#include <chrono>
#include <cstdint>

class ProgressBar {
  public:
    explicit ProgressBar(bool enabled);
    void Update(int64_t done, int64_t total);
    // Clears the bar's line if one was drawn.
    void Finish();

  private:
    bool enabled;
    bool shown = false;
    int lastPercent = -1;
    std::chrono::steady_clock::time_point started;
};
