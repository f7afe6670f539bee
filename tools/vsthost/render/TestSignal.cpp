#include "tools/vsthost/render/TestSignal.h"

#include <cmath>

double PortableSinCycles(double cycles) {
    // Reduce to [-0.5, 0.5] of a cycle; floor is exact on every platform.
    double r = cycles - std::floor(cycles + 0.5);
    double x = r * 6.283185307179586476925;
    double x2 = x * x;
    // Taylor series up to x^25: error below 1e-14 on [-pi, pi].
    double term = x;
    double sum = x;
    for (int n = 1; n <= 12; ++n) {
        term *= -x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

AudioData MakeTestSignal(int32_t sampleRate, size_t frames) {
    AudioData audio;
    audio.sampleRate = sampleRate;
    audio.channels.assign(2, std::vector<float>(frames));
    double rate = sampleRate > 0 ? sampleRate : 44100;
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / rate;
        double fundamental = 0.35 * PortableSinCycles(220.0 * t);
        audio.channels[0][i] = static_cast<float>(fundamental + 0.15 * PortableSinCycles(440.0 * t));
        audio.channels[1][i] = static_cast<float>(fundamental + 0.15 * PortableSinCycles(330.0 * t));
    }
    return audio;
}
