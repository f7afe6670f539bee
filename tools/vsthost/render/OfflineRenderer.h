// Offline processing: feeds an effect block by block, delivering each block's MIDI through
// effProcessEvents (deltaFrames relative to the block) before the block's audio call, and
// advancing the host's transport with it. The effect must be open and resumed.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/vsthost/formats/AudioData.h"
#include "tools/vsthost/render/EventSchedule.h"
#include "tools/vsthost/host/HostedEffect.h"

enum class ProcessMode { Replacing, Accumulating, Double };

struct RenderSettings {
    int32_t blockSize = 512;
    ProcessMode mode = ProcessMode::Replacing;
    int64_t frames = 0;
    // Plug-in input i reads input channel channelMap[i]; -1 or a channel the input lacks is
    // silence. Empty: channel i, or channel 0 for every plug-in input when the input is mono.
    std::vector<int32_t> channelMap;
    // An open-ended tail: with silenceFrames > 0 rendering goes on past frames, by at most
    // maxTailFrames, until the output has stayed below silenceLevel (on every channel) for
    // silenceFrames frames; the result then ends where that silence began (never before frames).
    int64_t maxTailFrames = 0;
    int64_t silenceFrames = 0;
    float silenceLevel = 0;
};

class OfflineRenderer {
  public:
    using Progress = std::function<void(int64_t done, int64_t total)>;

    OfflineRenderer(HostedEffect& effect, const RenderSettings& settings);

    // Effect inputs read input's channels as settings.channelMap says; frames past its end are
    // silent. The result has one channel per effect output and settings.frames frames (more with
    // an open-ended tail), at input's sample rate.
    AudioData Render(const AudioData& input, const std::vector<ScheduledEvent>& events,
                     const Progress& progress = {});

    int64_t EventsDelivered() const { return eventsDelivered; }

  private:
    HostedEffect& effect;
    RenderSettings settings;
    int64_t eventsDelivered = 0;
};
