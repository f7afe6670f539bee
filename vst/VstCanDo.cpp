#include "vst/VstCanDo.h"

#include <cstring>

namespace {

enum class Needs { Nothing, Sends, Receives };

struct Capability {
    const char* text;
    Needs needs;
};

constexpr Capability kCapabilities[] = {
    {"receiveVstTimeInfo", Needs::Nothing},   {"sendVstEvents", Needs::Sends},
    {"sendVstMidiEvent", Needs::Sends},       {"receiveVstEvents", Needs::Receives},
    {"receiveVstMidiEvent", Needs::Receives},
};

bool Granted(Needs needs, int32_t doesMidi) {
    switch (needs) {
        case Needs::Nothing:
            return true;
        case Needs::Sends:
            return doesMidi != 0 && (doesMidi & 1) != 0;
        case Needs::Receives:
            return doesMidi != 0 && doesMidi <= 2;
    }
    return false;
}

}  // namespace

intptr_t VstCanDo(const char* text, int32_t doesMidi) {
    if (!text) return 0;
    for (const Capability& c : kCapabilities) {
        // strncmp stops at the first differing byte, so a short host text is never over-read.
        if (std::strncmp(text, c.text, std::strlen(c.text) + 1) == 0)
            return Granted(c.needs, doesMidi) ? 1 : 0;
    }
    return 0;
}
