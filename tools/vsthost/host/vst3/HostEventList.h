// A host's IEventList with room reserved up front, so a process call neither allocates in
// the plug-in's output nor in the host's input; adding beyond the capacity fails.
#pragma once

#include <vector>

#include "abi/Vst3Processing.h"
#include "tools/vsthost/host/vst3/HostReference.h"

class HostEventList final : public vst3::IEventList {
  public:
    explicit HostEventList(size_t capacity = 1024) { events.reserve(capacity); }

    void Clear() { events.clear(); }
    const std::vector<vst3::Event>& Events() const { return events; }
    // A note on or off on channel 0 of bus 0 (velocity 0..127, the MIDI scale).
    void AddNote(bool on, int16_t pitch, int velocity, int32_t sampleOffset);
    uint32_t ExtraReferences() const { return refs.Extra(); }

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) noexcept override {
        return OfferInterface<vst3::IEventList>(iid, this, obj);
    }
    uint32_t addRef() noexcept override { return refs.Add(); }
    uint32_t release() noexcept override { return refs.Drop(); }
    int32_t getEventCount() noexcept override { return static_cast<int32_t>(events.size()); }
    vst3::tresult getEvent(int32_t index, vst3::Event& e) noexcept override;
    vst3::tresult addEvent(vst3::Event& e) noexcept override;

  private:
    std::vector<vst3::Event> events;
    HostReference refs;
};
