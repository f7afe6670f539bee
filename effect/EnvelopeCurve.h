#pragma once
#include <cmath>
#include <cstdint>

#include "effect/EnvelopeShape.h"

// The five envelope curves, evaluated once per block. The phase fractions are computed in single
// precision and widened; the quarter-turn sine or cosine and the final subtraction are 64-bit.
class EnvelopeCurve {
  public:
    static constexpr double kHalfPi = 1.5707963267948966;

    // Level at the start of an attack block with `left` of `span` samples still to run.
    static double Attack(int32_t shape, int32_t left, uint32_t span) {
        const float u = 1.0f - static_cast<float>(left) / static_cast<float>(span);
        if (shape == kShapeLinear) return u;
        const double rise = std::sin(static_cast<double>(u) * kHalfPi);
        if (shape <= kShapeAttackFastDecayFast) return rise;
        return static_cast<double>(u * 2.0f) - rise;
    }

    // Level of a decay block with `left` of `span` samples still to run (may be slightly negative in
    // the last block). Returns false for an unknown shape, which leaves the level as it was.
    static bool Decay(int32_t shape, int32_t left, uint32_t span, double& level) {
        const float v = static_cast<float>(left) / static_cast<float>(span);
        switch (shape) {
            case kShapeLinear:
                level = v;
                return true;
            case kShapeAttackFastDecaySlow:
            case kShapeAttackSlowDecaySlow:
                level = Fall(v);
                return true;
            case kShapeAttackFastDecayFast:
            case kShapeAttackSlowDecayFast:
                level =
                    static_cast<double>(static_cast<float>(left) * 2.0f / static_cast<float>(span)) - Fall(v);
                return true;
            default:
                return false;
        }
    }

  private:
    static double Fall(float v) { return std::cos(static_cast<double>(1.0f - v) * kHalfPi); }
};
