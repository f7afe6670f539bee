#pragma once

#include "base/GrowBuffer.h"

// One audio output of the core. While connected its samples go to the next host block of every
// processing call; disconnected they land in its own scratch buffer only.
struct OutputChannel {
    bool connected = false;
    double** slot = nullptr;         // this channel's entry of the core's output-slot array
    float* hostTarget = nullptr;     // single-precision host block of the current call
    double* hostTarget64 = nullptr;  // 64-bit host block of the current call
    GrowBuffer scratch;              // 64-bit samples, sized by SetBlockSize

    double* Scratch() noexcept { return static_cast<double*>(scratch.Data()); }
    int ScratchFrames() const noexcept {
        return static_cast<int>(scratch.Size() / static_cast<intptr_t>(sizeof(double)));
    }
};
