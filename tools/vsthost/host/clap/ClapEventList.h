// The two event lists of a process or flush call. The input list hands the plug-in copies of
// the events added, sorted by time (stable, so events of one time keep their order). The output
// list copies each pushed event (header.size bytes, and a sysex's data) and records a breach for
// an event that is malformed, outside the block or earlier than the one before it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "abi/ClapAbi.h"
#include "tools/vsthost/host/clap/ClapRuleBook.h"

// One event's bytes, aligned for any event record.
class ClapStoredEvent {
  public:
    explicit ClapStoredEvent(const clap_event_header* event);
    const clap_event_header* Header() const {
        return reinterpret_cast<const clap_event_header*>(bytes.get());
    }
    template <class Record>
    const Record& As() const {
        return *reinterpret_cast<const Record*>(bytes.get());
    }

  private:
    std::unique_ptr<uint64_t[]> bytes;
};

class ClapInputEvents {
  public:
    ClapInputEvents();
    void Add(const clap_event_header& event);  // copies header.size bytes
    void AddNote(uint32_t time, bool on, int16_t channel, int16_t key, double velocity);
    void AddMidi(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2);
    void AddParam(uint32_t time, clap_id id, double value);
    void Clear() { events.clear(); }
    const clap_input_events* Table();  // sorts first

  private:
    std::vector<ClapStoredEvent> events;
    clap_input_events table;
};

class ClapOutputEvents {
  public:
    explicit ClapOutputEvents(ClapRuleBook& rules);
    // Starts a call's list: events must lie in [0, frames). [host thread of the call]
    const clap_output_events* Begin(uint32_t frames);
    const std::vector<ClapStoredEvent>& Events() const { return events; }
    void Clear() { events.clear(); }

  private:
    bool Push(const clap_event_header* event);

    ClapRuleBook& rules;
    clap_output_events table;
    std::vector<ClapStoredEvent> events;
    std::vector<std::vector<uint8_t>> sysexData;
    uint32_t frames = 0;
    uint32_t lastTime = 0;
};
