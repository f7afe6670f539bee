#pragma once

#include <cstdint>

#include "abi/VstAbi.h"

// A short MIDI message as a host delivers it in a VstEvents list: type and size filled in, the
// three bytes in midiData, everything else zero.
inline VstMidiEvent MidiRecord(uint8_t status, uint8_t data1, uint8_t data2, int32_t deltaFrames = 0) {
    VstMidiEvent m{};
    m.type = kVstMidiType;
    m.byteSize = sizeof m;
    m.deltaFrames = deltaFrames;
    m.midiData[0] = static_cast<char>(status);
    m.midiData[1] = static_cast<char>(data1);
    m.midiData[2] = static_cast<char>(data2);
    return m;
}
