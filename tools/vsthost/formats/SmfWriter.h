// Writes short MIDI messages as a Standard MIDI File (format 0, one track, 120 BPM), timed by the
// sample frame they were sent at: one tick per frame, so a render of the file delivers each
// message at the frame it came back at.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/vsthost/host/HostCallback.h"

std::vector<uint8_t> EncodeSmf(const std::vector<HostMidiMessage>& messages, double sampleRate);
