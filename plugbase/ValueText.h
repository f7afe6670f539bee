#pragma once

#include <cstdint>

// A text that replaces the number when a parameter shows a given integer value.
struct ValueText {
    static constexpr int kTextBytes = 32;  // up to 31 characters and the terminator

    int32_t value = 0;
    char text[kTextBytes] = {};
};
