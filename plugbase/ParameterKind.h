#pragma once

#include <cstdint>

// What kind of value a parameter holds; decides snapping and how it is presented.
enum class ParameterKind : int32_t {
    Unset = 0,       // not yet initialised
    Toggle = 1,      // on/off, snapped to its step
    Integer = 2,     // whole numbers, step 1
    Choice = 3,      // one of a list of values 0..count-1
    Continuous = 4,  // real value, the only kind not snapped when set from a normalised value
};
