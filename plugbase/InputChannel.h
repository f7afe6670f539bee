#pragma once

#include "base/GrowBuffer.h"
#include "plugbase/AlignedScratch.h"

// One audio input of the core. While connected it takes the next host block in every processing
// call; disconnected it feeds the processing hook its own scratch buffer.
struct InputChannel {
    bool connected = false;
    double** slot = nullptr;            // this channel's entry of the core's input-slot array
    GrowBuffer scratch;                 // 64-bit samples, sized by SetBlockSize
    const float* hostSource = nullptr;  // single-precision host block of the current call
    double* hostSource64 = nullptr;     // 64-bit host block of the current call

    double* Scratch() noexcept { return AlignedScratch(scratch); }
    int ScratchFrames() const noexcept { return AlignedScratchFrames(scratch); }
};
