// Channel buffers for one audio call, single and double precision, with pointer arrays long enough
// for as many channels as a plug-in may claim (a plug-in changing its counts mid-call still finds
// valid memory). Inputs and outputs can share memory for the in-place case. [any thread], one
// block per thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class AudioBlock {
  public:
    // Room for inputs and outputs channels of frames samples, all zero. Reuses the storage when
    // it is large enough, so it allocates nothing once sized.
    void Resize(int32_t inputs, int32_t outputs, int32_t frames);
    // Input and output pointers name the same memory (the output channel c is the input channel
    // c; outputs beyond the inputs get their own memory).
    void SetInPlace(bool inPlace);

    int32_t Inputs() const { return inputs; }
    int32_t Outputs() const { return outputs; }
    int32_t Frames() const { return frames; }

    float** In() { return inPointers.data(); }
    float** Out() { return outPointers.data(); }
    double** InDouble() { return inDoublePointers.data(); }
    double** OutDouble() { return outDoublePointers.data(); }
    float* Input(int32_t c) { return inPointers[static_cast<size_t>(c)]; }
    float* Output(int32_t c) { return outPointers[static_cast<size_t>(c)]; }
    double* InputDouble(int32_t c) { return inDoublePointers[static_cast<size_t>(c)]; }
    double* OutputDouble(int32_t c) { return outDoublePointers[static_cast<size_t>(c)]; }

    void ClearOutputs();
    // Whether every output sample is finite.
    bool OutputsFinite() const;
    bool OutputsDoubleFinite() const;
    // Appends the outputs, channel after channel, to out.
    void AppendOutputs(std::vector<float>& out) const;

  private:
    void Point();

    int32_t inputs = 0, outputs = 0, frames = 0;
    bool inPlace = false;
    std::vector<float> storage;         // inputs, then outputs
    std::vector<double> doubleStorage;  // the same layout
    std::vector<float*> inPointers, outPointers;
    std::vector<double*> inDoublePointers, outDoublePointers;
};
