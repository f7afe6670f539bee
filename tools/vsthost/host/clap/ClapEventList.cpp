#include "tools/vsthost/host/clap/ClapEventList.h"

#include <algorithm>
#include <cstring>
#include <string>

ClapStoredEvent::ClapStoredEvent(const clap_event_header* event)
    : bytes(new uint64_t[(event->size + 7) / 8]()) {
    std::memcpy(bytes.get(), event, event->size);
}

ClapInputEvents::ClapInputEvents() {
    table.ctx = this;
    table.size = [](const clap_input_events* list) {
        return static_cast<uint32_t>(static_cast<ClapInputEvents*>(list->ctx)->events.size());
    };
    table.get = [](const clap_input_events* list, uint32_t index) -> const clap_event_header* {
        auto& events = static_cast<ClapInputEvents*>(list->ctx)->events;
        return index < events.size() ? events[index].Header() : nullptr;
    };
}

void ClapInputEvents::Add(const clap_event_header& event) {
    events.emplace_back(&event);
}

void ClapInputEvents::AddNote(uint32_t time, bool on, int16_t channel, int16_t key, double velocity) {
    clap_event_note note{};
    note.header = {sizeof note, time, CLAP_CORE_EVENT_SPACE_ID,
                   static_cast<uint16_t>(on ? CLAP_EVENT_NOTE_ON : CLAP_EVENT_NOTE_OFF), 0};
    note.note_id = -1;
    note.port_index = 0;
    note.channel = channel;
    note.key = key;
    note.velocity = velocity;
    Add(note.header);
}

void ClapInputEvents::AddMidi(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2) {
    clap_event_midi midi{};
    midi.header = {sizeof midi, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI, 0};
    midi.port_index = 0;
    midi.data[0] = status;
    midi.data[1] = data1;
    midi.data[2] = data2;
    Add(midi.header);
}

void ClapInputEvents::AddParam(uint32_t time, clap_id id, double value) {
    clap_event_param_value param{};
    param.header = {sizeof param, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    param.param_id = id;
    param.note_id = -1;
    param.port_index = param.channel = param.key = -1;
    param.value = value;
    Add(param.header);
}

const clap_input_events* ClapInputEvents::Table() {
    std::stable_sort(events.begin(), events.end(), [](const ClapStoredEvent& a, const ClapStoredEvent& b) {
        return a.Header()->time < b.Header()->time;
    });
    return &table;
}

ClapOutputEvents::ClapOutputEvents(ClapRuleBook& book) : rules(book) {
    table.ctx = this;
    table.try_push = [](const clap_output_events* list, const clap_event_header* event) {
        return static_cast<ClapOutputEvents*>(list->ctx)->Push(event);
    };
}

const clap_output_events* ClapOutputEvents::Begin(uint32_t frameCount) {
    frames = frameCount;
    lastTime = 0;
    return &table;
}

bool ClapOutputEvents::Push(const clap_event_header* event) {
    if (!event || event->size < sizeof(clap_event_header) || event->size > 4096) {
        rules.Violation("plug-in pushed an event of impossible size");
        return false;
    }
    // An empty flush call has no block; its events carry time 0.
    if (event->time >= std::max<uint32_t>(frames, 1) || event->time < lastTime) {
        rules.Violation("plug-in pushed an event at " + std::to_string(event->time) + " after one at " +
                        std::to_string(lastTime) + " in a block of " + std::to_string(frames));
    }
    lastTime = event->time;
    events.emplace_back(event);
    if (event->space_id == CLAP_CORE_EVENT_SPACE_ID && event->type == CLAP_EVENT_MIDI_SYSEX &&
        event->size >= sizeof(clap_event_midi_sysex)) {
        auto& sysex = events.back().As<clap_event_midi_sysex>();
        sysexData.emplace_back(sysex.buffer, sysex.buffer + sysex.size);
    }
    return true;
}
