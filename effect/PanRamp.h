#pragma once
#include <cmath>
#include <cstdint>

// The per-sample part of the engine: the pan position moves by a fixed step each sample, and each
// stereo sample gets the pan law (1 - p) * a on the left and (1 + p) * a on the right, with the side
// boost a = 1 + |p| * (sidesGain - 1).
//
// The loop runs four samples at a time and then one at a time; every sample performs the same
// operations in the same order as a plain loop, so the results are bit-identical to it. Reads and
// writes of one sample keep their order, so in-place processing (outputs aliasing inputs) is safe.
class PanRamp {
 public:
  // Processes n samples starting from `position`; returns the accumulated position after them.
  static double Run(const double* in0, const double* in1, double* out0, double* out1, int32_t n,
                    double position, double step, double sidesGain) {
    const double boost = sidesGain - 1.0;
    int32_t i = 0;
    for (; i + 4 <= n; i += 4) {
      position = Sample(in0, in1, out0, out1, i, position, step, boost);
      position = Sample(in0, in1, out0, out1, i + 1, position, step, boost);
      position = Sample(in0, in1, out0, out1, i + 2, position, step, boost);
      position = Sample(in0, in1, out0, out1, i + 3, position, step, boost);
    }
    for (; i < n; ++i) position = Sample(in0, in1, out0, out1, i, position, step, boost);
    return position;
  }

 private:
  [[gnu::always_inline]] static inline double Sample(const double* in0, const double* in1, double* out0,
                                                     double* out1, int32_t i, double position, double step,
                                                     double boost) {
    position += step;
    const double a = std::fabs(position) * boost + 1.0;
    out0[i] = (1.0 - position) * in0[i] * a;
    out1[i] = (position + 1.0) * in1[i] * a;
    return position;
  }
};
