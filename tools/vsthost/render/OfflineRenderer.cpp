#include "tools/vsthost/render/OfflineRenderer.h"

#include <algorithm>
#include <cmath>

#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/host/PluginModule.h"
#include "tools/vsthost/host/VstEventList.h"

namespace {

// One buffer per channel, and a spare one behind every further pointer up to the most channels a
// plug-in may claim: a plug-in that indexes an empty side, or changes its counts while processing
// (audioMasterIOChanged at the wrong time), still finds valid memory of a block's length.
template <typename Sample>
struct BlockBuffers {
    std::vector<std::vector<Sample>> data;
    std::vector<Sample> spare;
    std::vector<Sample*> pointers;
    BlockBuffers(int32_t channels, int32_t frames)
        : data(static_cast<size_t>(std::max(channels, 0)), std::vector<Sample>(static_cast<size_t>(frames))),
          spare(static_cast<size_t>(frames)),
          pointers(static_cast<size_t>(std::max(PluginModule::kMaxChannels, channels)), spare.data()) {
        for (size_t c = 0; c < data.size(); ++c) pointers[c] = data[c].data();
    }
    void Zero() {
        for (auto& channel : data) std::fill(channel.begin(), channel.end(), Sample(0));
        ZeroSpare();
    }
    // Between blocks: whatever a plug-in wrote into it must not reach another input.
    void ZeroSpare() { std::fill(spare.begin(), spare.end(), Sample(0)); }
};

// One run of Render: the plug-in's buffers, which input channel feeds each of its inputs, and
// the events not yet delivered.
class RenderPass {
  public:
    RenderPass(HostedEffect& effect, const RenderSettings& settings, const AudioData& input, AudioData& out)
        : effect(effect),
          mode(settings.mode),
          input(input),
          out(out),
          inputCount(static_cast<size_t>(std::max(effect.NumInputs(), 0))),
          outputCount(static_cast<size_t>(std::max(effect.NumOutputs(), 0))),
          floatIn(effect.NumInputs(), std::max(settings.blockSize, 1)),
          floatOut(effect.NumOutputs(), std::max(settings.blockSize, 1)),
          doubleIn(mode == ProcessMode::Double ? effect.NumInputs() : 0, std::max(settings.blockSize, 1)),
          doubleOut(mode == ProcessMode::Double ? effect.NumOutputs() : 0, std::max(settings.blockSize, 1)),
          sources(inputCount) {
        const std::vector<int32_t>& map = settings.channelMap;
        for (size_t c = 0; c < inputCount; ++c)
            sources[c] = c < map.size()                              ? map[c]
                         : map.empty() && input.channels.size() == 1 ? 0
                         : map.empty()                               ? static_cast<int32_t>(c)
                                                                     : -1;
    }

    // Hands the plug-in the events of the block at start before its audio; answers how many.
    int64_t DeliverEvents(const std::vector<ScheduledEvent>& events, int64_t start, int32_t frames) {
        midi.clear();
        while (nextEvent < events.size() && events[nextEvent].frame < start + frames) {
            const ScheduledEvent& e = events[nextEvent++];
            midi.push_back(MidiRecord(e.bytes[0], e.bytes[1], e.bytes[2],
                                      static_cast<int32_t>(std::max<int64_t>(e.frame - start, 0))));
        }
        if (!midi.empty()) effect.ProcessEvents(list.AssignRecords(midi.data(), midi.size()));
        return static_cast<int64_t>(midi.size());
    }

    // The block at start through the plug-in into out.
    void ProcessBlock(int64_t start, int32_t frames) {
        const size_t at = static_cast<size_t>(start), count = static_cast<size_t>(frames);
        for (size_t c = 0; c < inputCount; ++c)
            for (size_t i = 0; i < count; ++i) floatIn.data[c][i] = InputSample(c, at + i);
        floatIn.ZeroSpare();
        if (mode == ProcessMode::Double) {
            for (size_t c = 0; c < inputCount; ++c)
                for (size_t i = 0; i < count; ++i) doubleIn.data[c][i] = floatIn.data[c][i];
            doubleIn.ZeroSpare();
            doubleOut.Zero();
            effect.ProcessDouble(doubleIn.pointers.data(), doubleOut.pointers.data(), frames);
            for (size_t c = 0; c < outputCount; ++c)
                for (size_t i = 0; i < count; ++i)
                    out.channels[c][at + i] = static_cast<float>(doubleOut.data[c][i]);
            return;
        }
        floatOut.Zero();
        if (mode == ProcessMode::Accumulating)
            effect.ProcessAccumulating(floatIn.pointers.data(), floatOut.pointers.data(), frames);
        else
            effect.ProcessReplacing(floatIn.pointers.data(), floatOut.pointers.data(), frames);
        for (size_t c = 0; c < outputCount; ++c)
            std::copy(floatOut.data[c].begin(), floatOut.data[c].begin() + frames,
                      out.channels[c].begin() + start);
    }

    // The last frame of the block at start at or above level on any channel, else lastLoud.
    int64_t LastLoud(int64_t start, int32_t frames, float level, int64_t lastLoud) const {
        for (size_t c = 0; c < outputCount; ++c)
            for (int32_t i = 0; i < frames; ++i)
                if (!(std::fabs(out.channels[c][static_cast<size_t>(start + i)]) < level))
                    lastLoud = std::max(lastLoud, start + i);
        return lastLoud;
    }

  private:
    float InputSample(size_t channel, size_t frame) const {
        int32_t source = sources[channel];
        if (source < 0 || source >= input.ChannelCount() || frame >= input.Frames()) return 0.0f;
        return input.channels[static_cast<size_t>(source)][frame];
    }

    HostedEffect& effect;
    const ProcessMode mode;
    const AudioData& input;
    AudioData& out;
    const size_t inputCount, outputCount;
    BlockBuffers<float> floatIn, floatOut;
    BlockBuffers<double> doubleIn, doubleOut;
    std::vector<int32_t> sources;
    std::vector<VstMidiEvent> midi;
    VstEventList list;
    size_t nextEvent = 0;
};

}  // namespace

OfflineRenderer::OfflineRenderer(HostedEffect& e, const RenderSettings& s) : effect(e), settings(s) {}

AudioData OfflineRenderer::Render(const AudioData& input, const std::vector<ScheduledEvent>& events,
                                  const Progress& progress) {
    const int32_t block = std::max(settings.blockSize, 1);
    const int64_t baseFrames = std::max<int64_t>(settings.frames, 0);
    const bool openTail = settings.silenceFrames > 0;
    const int64_t total = baseFrames + (openTail ? std::max<int64_t>(settings.maxTailFrames, 0) : 0);
    int64_t lastLoud = -1;  // the last frame at or above the silence level

    AudioData out;
    out.sampleRate = input.sampleRate;
    out.channels.assign(static_cast<size_t>(std::max(effect.NumOutputs(), 0)),
                        std::vector<float>(static_cast<size_t>(total)));
    RenderPass pass(effect, settings, input, out);
    eventsDelivered = 0;
    int64_t end = total;
    for (int64_t start = 0; start < end; start += block) {
        const int32_t frames = static_cast<int32_t>(std::min<int64_t>(block, end - start));
        effect.Host().SetTransport(static_cast<double>(start), true);
        eventsDelivered += pass.DeliverEvents(events, start, frames);
        pass.ProcessBlock(start, frames);
        if (openTail) {
            lastLoud = pass.LastLoud(start, frames, settings.silenceLevel, lastLoud);
            int64_t quietFrom = std::max(lastLoud + 1, baseFrames);
            if (start + frames - quietFrom >= settings.silenceFrames) end = start + frames;
        }
        if (progress) progress(start + frames, end);
    }
    if (openTail) {
        int64_t length = std::min(std::max(lastLoud + 1, baseFrames), end);
        for (auto& channel : out.channels) channel.resize(static_cast<size_t>(length));
    }
    effect.Host().SetTransport(static_cast<double>(end), false);
    return out;
}
