// The plug-in's outgoing events of one process or flush call. The host wants them in
// non-decreasing time within the block; the effect sends its MIDI echo at each message's offset
// and its own parameter reports while it handles the events, so a report made after an echo at
// offset 5 is moved to offset 5. [audio thread, or main during a flush while inactive]
#pragma once

#include <cstdint>

#include "abi/ClapAbi.h"

class ClapEventWriter {
  public:
    // frames = 0 for a flush, whose events all lie at 0.
    ClapEventWriter(const clap_output_events* list, uint32_t frameCount) : out(list), frames(frameCount) {}

    bool Midi(uint32_t time, const uint8_t data[3]);
    // The host copies the bytes during the push.
    bool SysEx(uint32_t time, const uint8_t* data, uint32_t size);
    bool ParamValue(clap_id id, double value);
    bool Gesture(clap_id id, bool begin);

  private:
    uint32_t Time(uint32_t wanted);
    bool Push(const clap_event_header& header);

    const clap_output_events* out;
    uint32_t frames;
    uint32_t last = 0;
};
