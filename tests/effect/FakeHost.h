#pragma once
#include <cstdint>
#include <vector>

#include "abi/VstAbi.h"

// A host callback that records what the plug-in tells the host: automation, edit gestures and the
// MIDI sent back. Its lists are reserved up front so that recording does not allocate, which lets
// the allocation tests run the real callback. One recorder is active at a time.
class FakeHost {
  public:
    enum class Kind { Automate, BeginEdit, EndEdit, Midi };
    struct Call {
        Kind kind;
        int32_t index;    // parameter index; for Midi the sample offset
        float value;      // automation value
        uint8_t midi[3];  // status, data1, data2
    };

    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    static intptr_t Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                             float opt);

    std::vector<Call> calls;

  private:
    static FakeHost* active;
};
