#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "abi/VstAbi.h"

// A host callback for adapter tests: records every call and answers what the test sets up. The
// plug-in under test finds its host through the record's user field (set by Bind).
class RecordingHost {
  public:
    struct Call {
        int32_t opcode;
        int32_t index;
        intptr_t value;
        float opt;
    };

    static intptr_t Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                             float opt);
    void Bind(AEffect* effect) { effect->user = this; }

    int CountOf(int32_t opcode) const;
    std::vector<Call> CallsOf(int32_t opcode) const;

    // Held for each call, so that threads may call at once.
    std::mutex lock;
    std::vector<Call> calls;
    // Events handed over with audioMasterProcessEvents, copied at once.
    std::vector<VstMidiEvent> midi;
    std::vector<VstMidiSysexEvent> sysex;
    intptr_t processEventsAnswer = 1;
    // audioMasterGetTime answers &time unless timeIsNull.
    VstTimeInfo time{};
    bool timeIsNull = false;
    std::string product;
    intptr_t vendorVersion = 0;
};
