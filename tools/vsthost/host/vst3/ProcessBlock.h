// One process call's record as a host fills it: one main input and one main output bus with the
// host's channel pointers (32- or 64-bit), and the host's lists (null when not given).
#pragma once

#include "abi/Vst3Processing.h"

class ProcessBlock {
  public:
    ProcessBlock(float** inputs, float** outputs, int32_t channels, int32_t frames)
        : ProcessBlock(channels, frames) {
        in.channelBuffers32 = inputs;
        out.channelBuffers32 = outputs;
    }
    ProcessBlock(double** inputs, double** outputs, int32_t channels, int32_t frames)
        : ProcessBlock(channels, frames) {
        data.symbolicSampleSize = vst3::kSample64;
        in.channelBuffers64 = inputs;
        out.channelBuffers64 = outputs;
    }
    ProcessBlock(const ProcessBlock&) = delete;
    ProcessBlock& operator=(const ProcessBlock&) = delete;

    ProcessBlock& Lists(vst3::IParameterChanges* changesIn, vst3::IParameterChanges* changesOut,
                        vst3::IEventList* eventsIn, vst3::IEventList* eventsOut) {
        data.inputParameterChanges = changesIn;
        data.outputParameterChanges = changesOut;
        data.inputEvents = eventsIn;
        data.outputEvents = eventsOut;
        return *this;
    }
    vst3::ProcessData& Data() { return data; }
    vst3::AudioBusBuffers& Input() { return in; }

  private:
    ProcessBlock(int32_t channels, int32_t frames) {
        in.numChannels = out.numChannels = channels;
        data.symbolicSampleSize = vst3::kSample32;
        data.numSamples = frames;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &in;
        data.outputs = &out;
    }

    vst3::AudioBusBuffers in{}, out{};
    vst3::ProcessData data{};
};
