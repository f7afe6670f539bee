#pragma once

#include <cstdint>

// One legal (inputs, outputs) channel configuration; a negative count matches any count.
struct ChannelIoPair {
    int32_t inputs = 0;
    int32_t outputs = 0;
};
