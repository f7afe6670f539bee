// One effect of the module under test with its own host callback, opened at a sample rate and
// block size, plus the rendering the groups share: the built-in test signal through
// processReplacing in blocks. Closes the effect when destroyed. [UI thread] unless a group hands
// the instance to one thread of its own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/vsthost/host/HostCallback.h"
#include "tools/vsthost/host/HostedEffect.h"
#include "tools/vsthost/host/PluginModule.h"
#include "tools/vsthost/validate/AudioBlock.h"

class PluginInstance {
  public:
    // Messages the host keeps of what the plug-in sends back; small, since many instances may
    // live at once.
    static constexpr size_t kMidiRecord = 4096;

    // Creates and opens an effect (effOpen, rate, block size), not yet resumed; null with the
    // reason when the module gives no effect.
    static std::unique_ptr<PluginInstance> Create(PluginModule& module, double sampleRate, int32_t blockSize,
                                                  std::string& error);
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    HostedEffect& Effect() { return *effect; }
    HostCallback& Host() { return host; }
    double SampleRate() const { return sampleRate; }
    int32_t BlockSize() const { return blockSize; }

    // Resumes if needed and renders blocks of the block size: the test signal (from frame
    // `start` of it) into every input, the outputs appended channel after channel to the result.
    // The transport advances with each block.
    std::vector<float> Render(int blocks, int64_t start = 0);

  private:
    PluginInstance(double sampleRate, int32_t blockSize);

    HostCallback host;
    std::unique_ptr<HostedEffect> effect;
    double sampleRate;
    int32_t blockSize;
    AudioBlock block;
};

// Fills the inputs of block with the test signal from frame start (a steady tone, different per
// channel), at the given rate.
void FillTestSignal(AudioBlock& block, int64_t start, double sampleRate);

// The largest difference between two renders sample by sample: infinity when their lengths
// differ, NaN when a pair does not compare (a NaN, or infinities of one sign).
double Difference(const std::vector<float>& a, const std::vector<float>& b);
