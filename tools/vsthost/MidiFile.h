// Reading Standard MIDI Files into a time-ordered list of short messages, timed in seconds by
// the file's tempo map. Linux reads them through libsmf; the Windows build has no SMF reader
// (notes come from the command line there).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TimedMidi {
  double seconds = 0.0;
  uint8_t bytes[3] = {};
};

bool MidiFilesSupported();
// Channel messages only: meta events, SysEx and system messages are left out.
bool ReadMidiFile(const std::string& path, std::vector<TimedMidi>& out, std::string& error);
