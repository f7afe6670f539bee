// The validator's only source of random choices: a small generator (SplitMix64) whose whole
// sequence follows from the seed, the same on every platform, so a run is replayed with --seed.
// Each group derives its own generator from the run's seed and its name, so skipping one group
// does not change the choices made in another. [any thread], one generator per thread.
#pragma once

#include <cstdint>
#include <string>

class SeededRandom {
  public:
    explicit SeededRandom(uint64_t seed) : state(seed) {}
    // A generator for one part of the run (a group, a thread): the run's seed mixed with a name.
    static SeededRandom For(uint64_t seed, const std::string& name) {
        uint64_t h = 1469598103934665603ull;  // FNV-1a
        for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        return SeededRandom(seed ^ h);
    }

    uint64_t Next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < bound (0 for bound 0).
    uint64_t Below(uint64_t bound) { return bound ? Next() % bound : 0; }
    // lo <= result <= hi.
    int32_t Between(int32_t lo, int32_t hi) {
        return lo + static_cast<int32_t>(Below(static_cast<uint64_t>(int64_t{hi} - lo + 1)));
    }
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [-1, 1).
    float Signed() { return static_cast<float>(Unit() * 2.0 - 1.0); }

  private:
    uint64_t state;
};
