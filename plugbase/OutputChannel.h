#pragma once

#include "base/GrowBuffer.h"
#include "plugbase/AlignedScratch.h"

// One audio output of the core. While connected its samples go to the next host block of every
// processing call; disconnected they land in its own scratch buffer only.
struct OutputChannel {
    bool connected = false;
    double** slot = nullptr;         // this channel's entry of the core's output-slot array
    float* hostTarget = nullptr;     // single-precision host block of the current call
    double* hostTarget64 = nullptr;  // 64-bit host block of the current call
    GrowBuffer scratch;              // 64-bit samples, sized by SetBlockSize

    double* Scratch() noexcept { return AlignedScratch(scratch); }
    int ScratchFrames() const noexcept { return AlignedScratchFrames(scratch); }
};
