// The events a test hands to a plug-in in one effProcessEvents call: MIDI and SysEx records
// kept alive until the next Clear, in the order added (null entries and records of unknown type
// too, as careless hosts pass them). [any thread], one batch per thread.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <vector>

#include "tools/vsthost/host/HostedEffect.h"
#include "tools/vsthost/host/VstEventList.h"

class EventBatch {
  public:
    void Clear();
    void Midi(int32_t deltaFrames, uint8_t status, uint8_t data1, uint8_t data2);
    // A SysEx record over the given bytes (copied); dumpBytes as given, which may lie.
    void SysEx(int32_t deltaFrames, const std::vector<uint8_t>& bytes);
    // A SysEx record with no data pointer.
    void EmptySysEx(int32_t deltaFrames);
    void NullEntry();
    // A record of a type no plug-in knows.
    void Unknown(int32_t deltaFrames);
    size_t Size() const { return order.size(); }

    // effProcessEvents with the batch; the answer.
    intptr_t Deliver(HostedEffect& effect);

  private:
    struct Entry {
        int kind;  // 0 MIDI, 1 SysEx, 2 null, 3 unknown
        size_t index;
    };
    std::deque<VstMidiEvent> midi;
    std::deque<VstMidiSysexEvent> sysex;
    std::deque<std::vector<uint8_t>> dumps;
    std::deque<VstEvent> unknown;
    std::vector<Entry> order;
    std::vector<VstEvent*> entries;
    VstEventList list;
};

// One of the valid short messages at random: note on/off, poly and channel pressure, controller,
// program change or pitch bend, any channel. Draws from next() (0..2^64-1).
template <typename Random>
void AddRandomMessage(EventBatch& batch, Random& random, int32_t deltaFrames) {
    static const uint8_t kinds[] = {0x90, 0x80, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0x90, 0x90, 0x80};
    uint8_t status = static_cast<uint8_t>(kinds[random.Below(sizeof kinds)] | random.Below(16));
    batch.Midi(deltaFrames, status, static_cast<uint8_t>(random.Below(128)),
               static_cast<uint8_t>(random.Below(128)));
}

// count random messages at sorted frames within a block of frames, as a correct host sends them.
template <typename Random>
void AddRandomMessages(EventBatch& batch, Random& random, int count, int32_t frames) {
    std::vector<int32_t> at(static_cast<size_t>(std::max(count, 0)));
    for (int32_t& f : at) f = static_cast<int32_t>(random.Below(static_cast<uint64_t>(std::max(frames, 1))));
    std::sort(at.begin(), at.end());
    for (int32_t f : at) AddRandomMessage(batch, random, f);
}
