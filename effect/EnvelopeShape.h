#pragma once
#include <cstdint>

// Curve of the envelope: the values of the "Shape ENV" parameter. "Fast" curves lie above the
// straight line in the attack and below it in the decay, "slow" curves the other way round.
enum EnvelopeShape : int32_t {
    kShapeLinear = 0,
    kShapeAttackFastDecaySlow = 1,
    kShapeAttackFastDecayFast = 2,
    kShapeAttackSlowDecaySlow = 3,
    kShapeAttackSlowDecayFast = 4,
};
