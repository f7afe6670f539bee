// Reading Standard MIDI Files into a time-ordered list of short messages, timed in seconds by
// the file's tempo map. The same strict reader serves both platforms (see SmfReader.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TimedMidi {
    double seconds = 0.0;
    uint8_t bytes[3] = {};
};

// Channel messages only: meta events, SysEx and system messages are left out.
bool ReadMidiFile(const std::string& path, std::vector<TimedMidi>& out, std::string& error);
