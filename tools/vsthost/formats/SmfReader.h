// A strict Standard MIDI File parser over bytes in memory (formats 0 and 1, PPQN or SMPTE
// time). Every length and every event is checked against the bytes that are really there;
// running status, SysEx and meta events are understood, the tempo map is applied. The result
// holds the channel messages of all tracks, merged in time order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/vsthost/formats/MidiFile.h"

bool ParseSmf(const uint8_t* data, size_t size, std::vector<TimedMidi>& out, std::string& error);
