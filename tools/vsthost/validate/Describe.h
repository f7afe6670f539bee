// Numbers as the findings print them. [any thread]
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

inline std::string N(int64_t n) {
    return std::to_string(n);
}
// Shortest text that reads back as the same float or double.
inline std::string F(double v) {
    char text[48];
    std::snprintf(text, sizeof text, "%.9g", v);
    return text;
}
// Seconds as microseconds, to a tenth.
inline std::string Micros(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds * 1e6);
    return text;
}
