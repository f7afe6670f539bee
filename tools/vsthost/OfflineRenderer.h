// Offline processing: feeds an effect block by block, delivering each block's MIDI through
// effProcessEvents (deltaFrames relative to the block) before the block's audio call, and
// advancing the host's transport with it. The effect must be open and resumed.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/vsthost/AudioData.h"
#include "tools/vsthost/EventSchedule.h"
#include "tools/vsthost/HostedEffect.h"

enum class ProcessMode { Replacing, Accumulating, Double };

struct RenderSettings {
    int32_t blockSize = 512;
    ProcessMode mode = ProcessMode::Replacing;
    int64_t frames = 0;
};

class OfflineRenderer {
  public:
    using Progress = std::function<void(int64_t done, int64_t total)>;

    OfflineRenderer(HostedEffect& effect, const RenderSettings& settings);

    // Input channel i of the effect reads channel i of input; a mono input feeds every effect
    // input, missing channels and frames are silent. The result has one channel per effect
    // output and settings.frames frames, at input's sample rate.
    AudioData Render(const AudioData& input, const std::vector<ScheduledEvent>& events,
                     const Progress& progress = {});

    int64_t EventsDelivered() const { return eventsDelivered; }

  private:
    HostedEffect& effect;
    RenderSettings settings;
    int64_t eventsDelivered = 0;
};
