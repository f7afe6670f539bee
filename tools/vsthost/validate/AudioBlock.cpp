#include "tools/vsthost/validate/AudioBlock.h"

#include <algorithm>
#include <cmath>

#include "tools/vsthost/host/PluginModule.h"

void AudioBlock::Resize(int32_t in, int32_t out, int32_t n) {
    inputs = std::clamp(in, 0, PluginModule::kMaxChannels);
    outputs = std::clamp(out, 0, PluginModule::kMaxChannels);
    frames = std::max(n, 0);
    // At least one frame per channel, so that even a 0-frame call gets valid pointers.
    size_t need = static_cast<size_t>(inputs + outputs) * static_cast<size_t>(std::max(frames, 1));
    if (storage.size() < need) {
        storage.resize(need);
        doubleStorage.resize(need);
    }
    std::fill(storage.begin(), storage.end(), 0.0f);
    std::fill(doubleStorage.begin(), doubleStorage.end(), 0.0);
    Point();
}

void AudioBlock::SetInPlace(bool on) {
    inPlace = on;
    Point();
}

void AudioBlock::Point() {
    const size_t channels = static_cast<size_t>(PluginModule::kMaxChannels);
    inPointers.assign(channels, nullptr);
    outPointers.assign(channels, nullptr);
    inDoublePointers.assign(channels, nullptr);
    outDoublePointers.assign(channels, nullptr);
    const size_t stride = static_cast<size_t>(std::max(frames, 1));
    // Channels the plug-in does not announce point at the first one, never at nothing.
    for (size_t c = 0; c < channels; ++c) {
        size_t in = std::min(c, static_cast<size_t>(std::max(inputs - 1, 0)));
        size_t out = static_cast<size_t>(inputs) + std::min(c, static_cast<size_t>(std::max(outputs - 1, 0)));
        if (inPlace && c < static_cast<size_t>(std::min(inputs, outputs))) out = c;
        if (static_cast<size_t>(inputs + outputs) == 0) in = out = 0;
        inPointers[c] = storage.data() + in * stride;
        outPointers[c] = storage.data() + out * stride;
        inDoublePointers[c] = doubleStorage.data() + in * stride;
        outDoublePointers[c] = doubleStorage.data() + out * stride;
    }
}

void AudioBlock::ClearOutputs() {
    for (int32_t c = 0; c < outputs; ++c) {
        std::fill(Output(c), Output(c) + frames, 0.0f);
        std::fill(OutputDouble(c), OutputDouble(c) + frames, 0.0);
    }
}

bool AudioBlock::OutputsFinite() const {
    for (int32_t c = 0; c < outputs; ++c) {
        const float* p = outPointers[static_cast<size_t>(c)];
        for (int32_t i = 0; i < frames; ++i)
            if (!std::isfinite(p[i])) return false;
    }
    return true;
}

bool AudioBlock::OutputsDoubleFinite() const {
    for (int32_t c = 0; c < outputs; ++c) {
        const double* p = outDoublePointers[static_cast<size_t>(c)];
        for (int32_t i = 0; i < frames; ++i)
            if (!std::isfinite(p[i])) return false;
    }
    return true;
}

void AudioBlock::AppendOutputs(std::vector<float>& out) const {
    for (int32_t c = 0; c < outputs; ++c) {
        const float* p = outPointers[static_cast<size_t>(c)];
        out.insert(out.end(), p, p + frames);
    }
}
