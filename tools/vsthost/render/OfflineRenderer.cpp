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

}  // namespace

OfflineRenderer::OfflineRenderer(HostedEffect& e, const RenderSettings& s) : effect(e), settings(s) {}

AudioData OfflineRenderer::Render(const AudioData& input, const std::vector<ScheduledEvent>& events,
                                  const Progress& progress) {
    const int32_t inputs = effect.NumInputs();
    const int32_t outputs = effect.NumOutputs();
    const int32_t block = std::max(settings.blockSize, 1);
    const int64_t baseFrames = std::max<int64_t>(settings.frames, 0);
    const bool openTail = settings.silenceFrames > 0;
    const int64_t total = baseFrames + (openTail ? std::max<int64_t>(settings.maxTailFrames, 0) : 0);
    int64_t lastLoud = -1;  // the last frame at or above the silence level

    AudioData out;
    out.sampleRate = input.sampleRate;
    out.channels.assign(static_cast<size_t>(outputs), std::vector<float>(static_cast<size_t>(total)));

    BlockBuffers<float> floatIn(inputs, block), floatOut(outputs, block);
    BlockBuffers<double> doubleIn(settings.mode == ProcessMode::Double ? inputs : 0, block),
        doubleOut(settings.mode == ProcessMode::Double ? outputs : 0, block);
    std::vector<VstMidiEvent> midi;
    VstEventList list;
    size_t nextEvent = 0;
    eventsDelivered = 0;

    const size_t inputCount = static_cast<size_t>(std::max(inputs, 0));
    const size_t outputCount = static_cast<size_t>(std::max(outputs, 0));
    std::vector<int32_t> sources(inputCount);
    for (size_t c = 0; c < inputCount; ++c)
        sources[c] = c < settings.channelMap.size()                              ? settings.channelMap[c]
                     : settings.channelMap.empty() && input.channels.size() == 1 ? 0
                     : settings.channelMap.empty()                               ? static_cast<int32_t>(c)
                                                                                 : -1;
    auto inputSample = [&](size_t channel, size_t frame) -> float {
        int32_t source = sources[channel];
        if (source < 0 || source >= input.ChannelCount() || frame >= input.Frames()) return 0.0f;
        return input.channels[static_cast<size_t>(source)][frame];
    };

    int64_t end = total;
    for (int64_t start = 0; start < end; start += block) {
        const int32_t frames = static_cast<int32_t>(std::min<int64_t>(block, end - start));
        effect.Host().SetTransport(static_cast<double>(start), true);

        midi.clear();
        while (nextEvent < events.size() && events[nextEvent].frame < start + frames) {
            const ScheduledEvent& e = events[nextEvent++];
            midi.push_back(MidiRecord(e.bytes[0], e.bytes[1], e.bytes[2],
                                      static_cast<int32_t>(std::max<int64_t>(e.frame - start, 0))));
        }
        if (!midi.empty()) {
            effect.ProcessEvents(list.AssignRecords(midi.data(), midi.size()));
            eventsDelivered += static_cast<int64_t>(midi.size());
        }

        const size_t at = static_cast<size_t>(start), count = static_cast<size_t>(frames);
        for (size_t c = 0; c < inputCount; ++c)
            for (size_t i = 0; i < count; ++i) floatIn.data[c][i] = inputSample(c, at + i);
        floatIn.ZeroSpare();

        if (settings.mode == ProcessMode::Double) {
            for (size_t c = 0; c < inputCount; ++c)
                for (size_t i = 0; i < count; ++i) doubleIn.data[c][i] = floatIn.data[c][i];
            doubleIn.ZeroSpare();
            doubleOut.Zero();
            effect.ProcessDouble(doubleIn.pointers.data(), doubleOut.pointers.data(), frames);
            for (size_t c = 0; c < outputCount; ++c)
                for (size_t i = 0; i < count; ++i)
                    out.channels[c][at + i] = static_cast<float>(doubleOut.data[c][i]);
        } else {
            floatOut.Zero();
            if (settings.mode == ProcessMode::Accumulating)
                effect.ProcessAccumulating(floatIn.pointers.data(), floatOut.pointers.data(), frames);
            else
                effect.ProcessReplacing(floatIn.pointers.data(), floatOut.pointers.data(), frames);
            for (size_t c = 0; c < outputCount; ++c)
                std::copy(floatOut.data[c].begin(), floatOut.data[c].begin() + frames,
                          out.channels[c].begin() + start);
        }
        if (openTail) {
            for (size_t c = 0; c < outputCount; ++c)
                for (size_t i = 0; i < count; ++i)
                    if (!(std::fabs(out.channels[c][at + i]) < settings.silenceLevel))
                        lastLoud = std::max(lastLoud, start + static_cast<int64_t>(i));
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
