#include "tools/vsthost/host/SpeakerArrangement.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "tools/vsthost/host/PluginModule.h"

namespace {

constexpr int32_t kDeclaredSpeakers = 8;

}  // namespace

int32_t SpeakerArrangementType(int32_t channels) {
    return channels <= 0   ? kSpeakerArrEmpty
           : channels == 1 ? kSpeakerArrMono
           : channels == 2 ? kSpeakerArrStereo
                           : kSpeakerArrUserDefined;
}

std::string DescribeSpeakerChannels(int32_t channels) {
    return channels <= 0   ? "empty"
           : channels == 1 ? "mono"
           : channels == 2 ? "stereo"
                           : std::to_string(channels) + "-channel";
}

SpeakerArrangementRecord::SpeakerArrangementRecord(int32_t count)
    : channels(std::clamp(count, 0, PluginModule::kMaxChannels)) {
    const size_t speakers = static_cast<size_t>(std::max(channels, kDeclaredSpeakers));
    const size_t bytes = offsetof(VstSpeakerArrangement, speakers) + speakers * sizeof(VstSpeakerProperties);
    storage.assign((bytes + sizeof(VstSpeakerArrangement) - 1) / sizeof(VstSpeakerArrangement),
                   VstSpeakerArrangement{});
    VstSpeakerArrangement& record = storage.front();
    record.type = SpeakerArrangementType(channels);
    record.numChannels = channels;
    // Written byte-wise: speakers past the declared array lie beyond the first record's member.
    auto* base = reinterpret_cast<unsigned char*>(storage.data()) + offsetof(VstSpeakerArrangement, speakers);
    for (int32_t i = 0; i < channels; ++i) {
        VstSpeakerProperties speaker{};
        const char* name = channels == 1 ? "M" : channels == 2 ? (i == 0 ? "L" : "R") : nullptr;
        speaker.type = channels == 1   ? kSpeakerM
                       : channels == 2 ? (i == 0 ? kSpeakerL : kSpeakerR)
                                       : kSpeakerUndefined;
        if (name)
            std::snprintf(speaker.name, sizeof speaker.name, "%s", name);
        else
            std::snprintf(speaker.name, sizeof speaker.name, "%d", static_cast<int>(i + 1));
        std::memcpy(base + static_cast<size_t>(i) * sizeof(VstSpeakerProperties), &speaker, sizeof speaker);
    }
}
