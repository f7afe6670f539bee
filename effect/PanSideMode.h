#pragma once
#include <cstdint>

// Which side a note pans to: the values of the "Pan Side" parameter.
enum PanSideMode : int32_t {
    kPanSideAlternate = 0,
    kPanSideLeft = 1,
    kPanSideRight = 2,
};
