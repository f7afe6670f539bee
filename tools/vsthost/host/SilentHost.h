#pragma once

#include <cstdint>

#include "tools/vsthost/host/HostCallback.h"

// A host callback that records nothing and allocates nothing: it tells its version, takes
// every event list, offers a zero time record (transport stopped at frame 0, 44100 Hz) and answers
// 0 to everything else. For benchmarks, fuzz targets and tests that count only the plug-in's work.
intptr_t SilentHostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                            float opt);
