#include "clap/ClapEventWriter.h"

#include <algorithm>

uint32_t ClapEventWriter::Time(uint32_t wanted) {
    uint32_t latest = frames > 0 ? frames - 1 : 0;
    last = std::min(std::max(wanted, last), latest);
    return last;
}

bool ClapEventWriter::Push(const clap_event_header& header) {
    return out && out->try_push && out->try_push(out, &header);
}

bool ClapEventWriter::Midi(uint32_t time, const uint8_t data[3]) {
    clap_event_midi midi{};
    midi.header = {sizeof midi, Time(time), CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI, 0};
    midi.port_index = 0;
    midi.data[0] = data[0];
    midi.data[1] = data[1];
    midi.data[2] = data[2];
    return Push(midi.header);
}

bool ClapEventWriter::ParamValue(clap_id id, double value) {
    clap_event_param_value param{};
    param.header = {sizeof param, Time(0), CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    param.param_id = id;
    param.note_id = -1;
    param.port_index = param.channel = param.key = -1;
    param.value = value;
    return Push(param.header);
}

bool ClapEventWriter::Gesture(clap_id id, bool begin) {
    clap_event_param_gesture gesture{};
    uint16_t type = begin ? CLAP_EVENT_PARAM_GESTURE_BEGIN : CLAP_EVENT_PARAM_GESTURE_END;
    gesture.header = {sizeof gesture, Time(0), CLAP_CORE_EVENT_SPACE_ID, type, 0};
    gesture.param_id = id;
    return Push(gesture.header);
}

bool ClapEventWriter::SysEx(uint32_t time, const uint8_t* data, uint32_t size) {
    clap_event_midi_sysex sysex{};
    sysex.header = {sizeof sysex, Time(time), CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI_SYSEX, 0};
    sysex.port_index = 0;
    sysex.buffer = data;
    sysex.size = size;
    return Push(sysex.header);
}
