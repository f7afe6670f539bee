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
// of each sample's arithmetic is done four (with AVX) or two samples per vector operation, each lane
// performing the plain loop's IEEE operations in the same order. The grouped path reads a group's inputs
// before writing its outputs, which equals the plain loop when each output is its own input (in place) or
// does not overlap any input; any other overlap takes the one-sample-at-a-time path.
class PanRamp {
  public:
    // Processes n samples starting from `position`; returns the accumulated position after them.
    // allowAvx false keeps to the baseline instruction set (for tests of that path).
    static double Run(const double* in0, const double* in1, double* out0, double* out1, int32_t n,
                      double position, double step, double sidesGain, bool allowAvx = true) {
        const double boost = sidesGain - 1.0;
        int32_t i = 0;
        if (n >= 4 && Groupable(in0, in1, out0, out1, n)) {
            i = allowAvx && HasAvx() ? GroupedAvx(in0, in1, out0, out1, n, position, step, boost)
                                     : Grouped<Pair>(in0, in1, out0, out1, n, position, step, boost);
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
    typedef double Quad __attribute__((vector_size(32)));

    [[gnu::always_inline]] static inline double Sample(const double* in0, const double* in1, double* out0,
                                                       double* out1, int32_t i, double position, double step,
                                                       double boost) {
        position += step;
        const double a = std::fabs(position) * boost + 1.0;
        out0[i] = (1.0 - position) * in0[i] * a;
        out1[i] = (position + 1.0) * in1[i] * a;
        return position;
    }

    // Processes the whole groups of four samples, Vec holding two or four consecutive samples, with
    // the positions of the next group accumulated before the current group's arithmetic, so that the
    // dependent adds, the loop's critical path, are older and win the contest for the adders. Returns
    // the number of samples done; start is advanced by them.
    template <typename Vec>
    [[gnu::always_inline]] static inline int32_t Grouped(const double* in0, const double* in1, double* out0,
                                                         double* out1, int32_t n, double& start, double step,
                                                         double boost) {
        constexpr int kLanes = sizeof(Vec) / sizeof(double);
        constexpr int kVectors = 4 / kLanes;
        double position = start;  // a local, so that the critical path stays in registers
        const Vec vBoost = Vec{} + boost;
        Vec current[size_t{kVectors}] = {}, next[size_t{kVectors}] = {};
        for (Vec& v : current) Next(v, position, step);
        int32_t i = 0;
        for (; i + 8 <= n; i += 4) {
            for (Vec& v : next) Next(v, position, step);
            for (int k = 0; k < kVectors; ++k) {
                const int32_t j = i + k * kLanes;
                Group(in0 + j, in1 + j, out0 + j, out1 + j, current[k], vBoost);
                current[k] = next[k];
            }
        }
        for (int k = 0; k < kVectors; ++k) {
            const int32_t j = i + k * kLanes;
            Group(in0 + j, in1 + j, out0 + j, out1 + j, current[k], vBoost);
        }
        start = position;
        return i + 4;
    }

    // Four samples per vector in AVX registers; the same IEEE operations (no fused multiply-add), so
    // the same results.
    [[gnu::target("avx")]] static int32_t GroupedAvx(const double* in0, const double* in1, double* out0,
                                                     double* out1, int32_t n, double& position, double step,
                                                     double boost) {
        return Grouped<Quad>(in0, in1, out0, out1, n, position, step, boost);
    }

    static bool HasAvx() {
        static const bool avx = [] {
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx") != 0;
        }();
        return avx;
    }

    // The next positions of the ramp, one add after the other.
    template <typename Vec>
    [[gnu::always_inline]] static inline void Next(Vec& v, double& position, double step) {
        for (size_t k = 0; k < sizeof(Vec) / sizeof(double); ++k) {
            position += step;
            v[k] = position;
        }
    }

    // Consecutive samples at once; the same operations as Sample, lane by lane.
    template <typename Vec>
    [[gnu::always_inline]] static inline void Group(const double* in0, const double* in1, double* out0,
                                                    double* out1, const Vec& p, const Vec& boost) {
        typedef uint64_t Bits __attribute__((vector_size(sizeof(Vec))));
        Vec x0, x1;
        std::memcpy(&x0, in0, sizeof x0);
        std::memcpy(&x1, in1, sizeof x1);
        const Vec magnitude =
            reinterpret_cast<Vec>(reinterpret_cast<Bits>(p) & 0x7FFFFFFFFFFFFFFFull);  // |p|
        const Vec a = magnitude * boost + 1.0;
        const Vec y0 = (1.0 - p) * x0 * a;
        const Vec y1 = (p + 1.0) * x1 * a;
        std::memcpy(out0, &y0, sizeof y0);
        std::memcpy(out1, &y1, sizeof y1);
    }

    static bool Disjoint(const void* a, const void* b, int32_t n) {
        const uintptr_t x = reinterpret_cast<uintptr_t>(a), y = reinterpret_cast<uintptr_t>(b);
        const uintptr_t bytes = static_cast<uintptr_t>(n) * sizeof(double);
        return x + bytes <= y || y + bytes <= x;
    }

    static bool Groupable(const double* in0, const double* in1, const double* out0, const double* out1,
                          int32_t n) {
        return (out0 == in0 || Disjoint(out0, in0, n)) && (out1 == in1 || Disjoint(out1, in1, n)) &&
               Disjoint(out0, in1, n) && Disjoint(out1, in0, n) && Disjoint(out0, out1, n);
    }
};
