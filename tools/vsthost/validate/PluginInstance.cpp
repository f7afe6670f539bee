#include "tools/vsthost/validate/PluginInstance.h"

#include <algorithm>
#include <cmath>

#include "tools/vsthost/render/TestSignal.h"

PluginInstance::PluginInstance(double rate, int32_t frames)
    : host(kMidiRecord), sampleRate(rate), blockSize(frames) {}

PluginInstance::~PluginInstance() {
    effect.reset();
}

std::unique_ptr<PluginInstance> PluginInstance::Create(PluginModule& module, double sampleRate,
                                                       int32_t blockSize, std::string& error) {
    std::unique_ptr<PluginInstance> instance(new PluginInstance(sampleRate, blockSize));
    AEffect* record = module.CreateEffect(instance->host, error);
    if (!record) return nullptr;
    instance->effect = std::make_unique<HostedEffect>(record, instance->host);
    instance->effect->Open(sampleRate, blockSize);
    return instance;
}

std::vector<float> PluginInstance::Render(int blocks, int64_t start) {
    std::vector<float> out;
    effect->Resume();
    for (int b = 0; b < blocks; ++b) {
        int64_t at = start + int64_t{b} * blockSize;
        block.Resize(effect->NumInputs(), effect->NumOutputs(), blockSize);
        FillTestSignal(block, at, sampleRate);
        host.SetTransport(static_cast<double>(at), true);
        effect->ProcessReplacing(block.In(), block.Out(), blockSize);
        block.AppendOutputs(out);
    }
    return out;
}

void FillTestSignal(AudioBlock& block, int64_t start, double sampleRate) {
    for (int32_t c = 0; c < block.Inputs(); ++c) {
        float* p = block.Input(c);
        double overtone = 440.0 - 110.0 * (c % 2);
        for (int32_t i = 0; i < block.Frames(); ++i) {
            double t = static_cast<double>(start + i) / sampleRate;
            p[i] = static_cast<float>(0.4 * PortableSinCycles(220.0 * t) +
                                      0.2 * PortableSinCycles(overtone * t));
        }
    }
}

double Difference(const std::vector<float>& a, const std::vector<float>& b) {
    if (a.size() != b.size()) return INFINITY;
    double worst = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double d = std::fabs(double(a[i]) - double(b[i]));
        if (std::isnan(d)) return d;
        worst = std::max(worst, d);
    }
    return worst;
}
