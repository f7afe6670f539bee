#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>

// The per-sample part of the engine: the pan position moves by a fixed step each sample, and each
// stereo sample gets the pan law (1 - p) * a on the left and (1 + p) * a on the right, with the side
// boost a = 1 + |p| * (sidesGain - 1).
//
// The loop runs four samples at a time and then one at a time, with results bit-identical to a plain
// loop: the positions are still accumulated one add after the other, and only the independent rest
// of each sample's arithmetic is done two samples per vector operation (each lane performs the plain
// loop's IEEE operations in the same order). The grouped path reads a group's inputs before writing
// its outputs, which equals the plain loop when each output is its own input (in place) or does not
// overlap any input; any other overlap takes the one-sample-at-a-time path.
class PanRamp {
 public:
  // Processes n samples starting from `position`; returns the accumulated position after them.
  static double Run(const double* in0, const double* in1, double* out0, double* out1, int32_t n,
                    double position, double step, double sidesGain) {
    const double boost = sidesGain - 1.0;
    int32_t i = 0;
    if (n >= 4 && Groupable(in0, in1, out0, out1, n)) {
      // The positions of the next group are accumulated before the current group's arithmetic, so
      // that the dependent adds, the loop's critical path, are older and win the contest for the
      // adders.
      const Pair vBoost = {boost, boost};
      Pair a = Next(position, step), b = Next(position, step);
      for (; i + 8 <= n; i += 4) {
        const Pair c = Next(position, step), d = Next(position, step);
        Group(in0 + i, in1 + i, out0 + i, out1 + i, a, vBoost);
        Group(in0 + i + 2, in1 + i + 2, out0 + i + 2, out1 + i + 2, b, vBoost);
        a = c;
        b = d;
      }
      Group(in0 + i, in1 + i, out0 + i, out1 + i, a, vBoost);
      Group(in0 + i + 2, in1 + i + 2, out0 + i + 2, out1 + i + 2, b, vBoost);
      i += 4;
    } else {
      for (; i + 4 <= n; i += 4) {
        position = Sample(in0, in1, out0, out1, i, position, step, boost);
        position = Sample(in0, in1, out0, out1, i + 1, position, step, boost);
        position = Sample(in0, in1, out0, out1, i + 2, position, step, boost);
        position = Sample(in0, in1, out0, out1, i + 3, position, step, boost);
      }
    }
    for (; i < n; ++i) position = Sample(in0, in1, out0, out1, i, position, step, boost);
    return position;
  }

 private:
  typedef double Pair __attribute__((vector_size(16)));
  typedef uint64_t Bits __attribute__((vector_size(16)));

  [[gnu::always_inline]] static inline double Sample(const double* in0, const double* in1, double* out0,
                                                     double* out1, int32_t i, double position, double step,
                                                     double boost) {
    position += step;
    const double a = std::fabs(position) * boost + 1.0;
    out0[i] = (1.0 - position) * in0[i] * a;
    out1[i] = (position + 1.0) * in1[i] * a;
    return position;
  }

  // The next two positions of the ramp, each one add after the other.
  [[gnu::always_inline]] static inline Pair Next(double& position, double step) {
    const double first = position + step;
    position = first + step;
    return Pair{first, position};
  }

  // Two consecutive samples at once; the same operations as Sample, lane by lane.
  [[gnu::always_inline]] static inline void Group(const double* in0, const double* in1, double* out0,
                                                  double* out1, Pair p, Pair boost) {
    const Pair one = {1.0, 1.0};
    const Bits magnitude = {0x7FFFFFFFFFFFFFFFull, 0x7FFFFFFFFFFFFFFFull};
    Pair x0, x1;
    std::memcpy(&x0, in0, sizeof x0);
    std::memcpy(&x1, in1, sizeof x1);
    const Pair a = reinterpret_cast<Pair>(reinterpret_cast<Bits>(p) & magnitude) * boost + one;  // |p|
    const Pair y0 = (one - p) * x0 * a;
    const Pair y1 = (p + one) * x1 * a;
    std::memcpy(out0, &y0, sizeof y0);
    std::memcpy(out1, &y1, sizeof y1);
  }

  static bool Disjoint(const void* a, const void* b, int32_t n) {
    const uintptr_t x = reinterpret_cast<uintptr_t>(a), y = reinterpret_cast<uintptr_t>(b);
    const uintptr_t bytes = static_cast<uintptr_t>(n) * sizeof(double);
    return x + bytes <= y || y + bytes <= x;
  }

  static bool Groupable(const double* in0, const double* in1, const double* out0, const double* out1, int32_t n) {
    return (out0 == in0 || Disjoint(out0, in0, n)) && (out1 == in1 || Disjoint(out1, in1, n)) &&
           Disjoint(out0, in1, n) && Disjoint(out1, in0, n) && Disjoint(out0, out1, n);
  }
};
