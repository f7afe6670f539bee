// The buffers of one process call for a plug-in with one main input and one main output port
// of the same channel count: 32-bit, or 64-bit when the port offers it and the host chooses it
// (data32 is then null, as the interface allows). Separate input and output memory, so a
// plug-in that writes its input is caught by the caller comparing inputs after the call.
#pragma once

#include <cstdint>
#include <vector>

#include "abi/ClapAbi.h"

class ClapAudioBlock {
  public:
    ClapAudioBlock(uint32_t channels, uint32_t maxFrames, bool use64);

    // Channel c of the input or output, as float or double (whichever the block carries).
    float* In32(uint32_t c) { return in32[c].data(); }
    float* Out32(uint32_t c) { return out32[c].data(); }
    double* In64(uint32_t c) { return in64[c].data(); }
    double* Out64(uint32_t c) { return out64[c].data(); }

    // A process record for frames frames (at most maxFrames) with the given event lists.
    clap_process Record(uint32_t frames, int64_t steadyTime, const clap_input_events* in,
                        const clap_output_events* out);

  private:
    bool use64;
    std::vector<std::vector<float>> in32, out32;
    std::vector<std::vector<double>> in64, out64;
    std::vector<float*> in32Ptr, out32Ptr;
    std::vector<double*> in64Ptr, out64Ptr;
    clap_audio_buffer input{};
    clap_audio_buffer output{};
};
