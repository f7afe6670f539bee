#pragma once

#include <array>
#include <cstdint>

// A short MIDI message at a frame of a block, as it travels in an LV2 atom sequence.
struct Lv2MidiEvent {
    int64_t frame = 0;
    uint32_t size = 3;  // 1..3 bytes used
    std::array<uint8_t, 3> bytes{};

    bool operator==(const Lv2MidiEvent&) const = default;
};
