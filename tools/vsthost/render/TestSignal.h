// The built-in stereo test signal: a steady 220 Hz tone in both channels (so panning is plain to
// hear) with a different overtone in each (440 Hz left, 330 Hz right, so a channel swap shows).
// Computed with basic arithmetic only, so every platform produces the same bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/vsthost/formats/AudioData.h"

AudioData MakeTestSignal(int32_t sampleRate, size_t frames);
// sin(2 pi cycles) for any cycle count, by range reduction and a Taylor polynomial.
double PortableSinCycles(double cycles);
