// Speaker arrangements as a host offers them with effSetSpeakerArrangement: a record for any
// channel count, and the words a report uses for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "abi/VstAbi.h"

// Speaker kinds (VstSpeakerProperties::type) from the published interface. The plug-in never
// needs them, so the host declares the few it writes itself.
constexpr int32_t kSpeakerUndefined = 0x7FFFFFFF;
constexpr int32_t kSpeakerM = 0;
constexpr int32_t kSpeakerL = 1;
constexpr int32_t kSpeakerR = 2;

// The arrangement type for a channel count: empty for none, mono, stereo, user-defined beyond.
int32_t SpeakerArrangementType(int32_t channels);
// "empty", "mono", "stereo" or "6-channel".
std::string DescribeSpeakerChannels(int32_t channels);

// One VstSpeakerArrangement for a channel count (0 up to PluginModule::kMaxChannels; others are
// clamped). The record declares 8 speakers, but a plug-in reads as many as numChannels says, and
// some read all 8 whatever numChannels says: the memory holds max(channels, 8) speakers, each named
// and typed (mono M, stereo L R, otherwise undefined).
class SpeakerArrangementRecord {
  public:
    explicit SpeakerArrangementRecord(int32_t channels = 0);

    VstSpeakerArrangement* Get() { return storage.data(); }
    int32_t Channels() const { return channels; }
    // Bytes valid from Get() on.
    size_t Bytes() const { return storage.size() * sizeof(VstSpeakerArrangement); }

  private:
    int32_t channels = 0;
    // Whole records, so that the memory is aligned for one; speakers beyond the 8 declared ones
    // continue into the following records' bytes.
    std::vector<VstSpeakerArrangement> storage;
};
