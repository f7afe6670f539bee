#pragma once

#include <cstdint>

// Kind of a short MIDI message: the upper four bits of the status byte for channel messages,
// None for data bytes and all system messages (0xF0-0xFF).
enum class MidiKind : int {
    None = 0,
    NoteOff = 8,
    NoteOn = 9,
    PolyAftertouch = 10,
    ControlChange = 11,
    ProgramChange = 12,
    ChannelAftertouch = 13,
    PitchWheel = 14,
};

// A short MIDI message with its sample offset within the current audio block.
struct IMidiEvent {
    int32_t offset = 0;  // as the host gave it
    uint8_t status = 0;  // kind in the upper four bits, channel in the lower four
    uint8_t data1 = 0;   // note number, controller number, ...
    uint8_t data2 = 0;   // velocity, controller value, ...

    MidiKind Kind() const noexcept {
        const int k = status >> 4;
        return (k >= 8 && k <= 14) ? static_cast<MidiKind>(k) : MidiKind::None;
    }
    // data2 for note on and note off, -1 otherwise.
    int Velocity() const noexcept {
        const MidiKind k = Kind();
        return (k == MidiKind::NoteOn || k == MidiKind::NoteOff) ? data2 : -1;
    }
};
