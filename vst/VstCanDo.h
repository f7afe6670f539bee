#pragma once
#include <cstdint>

// Answers the host's capability query: 1 for a text the plug-in supports, 0 otherwise (also for
// null). Only exact matches count, terminator included; the host text is never read past the
// length of the longest known capability.
intptr_t VstCanDo(const char* text, int32_t doesMidi);
