#include "editor/x11/TickClock.h"

#include <time.h>

int64_t TickClock::Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}
