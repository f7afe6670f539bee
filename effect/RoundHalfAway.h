#pragma once
#include <cstdint>

// Rounds half away from zero (add 0.5 to a value of 0 or more, subtract 0.5 from a negative one,
// then truncate). Values beyond the 32-bit range saturate and NaN gives 0, so that a host's absurd
// sample rate cannot make the float-to-integer conversion undefined.
inline int32_t SaturateToInt32(double shifted) {
    if (shifted >= 2147483648.0) return INT32_MAX;
    if (shifted <= -2147483649.0) return INT32_MIN;
    if (shifted != shifted) return 0;
    return static_cast<int32_t>(shifted);
}

inline int32_t RoundHalfAway(double v) {
    return SaturateToInt32(v >= 0.0 ? v + 0.5 : v - 0.5);
}

// Single-precision form: the half is added in single precision, as the width/offset rule computes.
inline int32_t RoundHalfAway(float v) {
    return SaturateToInt32(v >= 0.0f ? v + 0.5f : v - 0.5f);
}
