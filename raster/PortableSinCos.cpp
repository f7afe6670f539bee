#include "raster/PortableSinCos.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double kTwoPi = 6.283185307179586476925;
constexpr double kTwoOverPi = 0.636619772367581343076;
// pi/2 in two parts: the first has 33 significant bits, so its product with any quarter-turn
// count below 2^20 is exact, and the second carries the rest.
constexpr double kHalfPiHigh = 1.57079632673412561417e+00;
constexpr double kHalfPiLow = 6.07710050650619224932e-11;
// Beyond this the quarter-turn count no longer keeps the reduction exact: whole turns come off
// first (exactly, by fmod; a turn's own rounding does not matter for angles this absurd).
constexpr double kReduceDirectly = 1.0e5;

// Taylor series on [-pi/4, pi/4]; the first omitted terms are below 1e-19.
double SinNear(double x) {
    const double x2 = x * x;
    double term = x, sum = x;
    for (int n = 1; n <= 9; ++n) {
        term *= -x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

double CosNear(double x) {
    const double x2 = x * x;
    double term = 1.0, sum = 1.0;
    for (int n = 1; n <= 9; ++n) {
        term *= -x2 / static_cast<double>((2 * n - 1) * (2 * n));
        sum += term;
    }
    return sum;
}

}  // namespace

void PortableSinCos(double angle, double& sine, double& cosine) {
    if (!std::isfinite(angle)) {
        sine = cosine = std::nan("");
        return;
    }
    double x = std::fabs(angle) > kReduceDirectly ? std::fmod(angle, kTwoPi) : angle;
    const double quarter = std::floor(x * kTwoOverPi + 0.5);
    const double r = (x - quarter * kHalfPiHigh) - quarter * kHalfPiLow;
    const double s = SinNear(r), c = CosNear(r);
    switch (static_cast<int64_t>(quarter) & 3) {
        case 0:
            sine = s;
            cosine = c;
            break;
        case 1:
            sine = c;
            cosine = -s;
            break;
        case 2:
            sine = -s;
            cosine = -c;
            break;
        default:
            sine = -c;
            cosine = s;
            break;
    }
}
