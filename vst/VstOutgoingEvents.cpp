#include "vst/VstOutgoingEvents.h"

#include <cstring>

VstOutgoingEvents::VstOutgoingEvents() {
    std::memset(slots_, 0, sizeof slots_);
}

VstOutgoingEvents::Slot& VstOutgoingEvents::Next() {
    Slot& slot = slots_[next_];
    next_ = (next_ + 1) % kSlots;
    std::memset(&slot, 0, sizeof slot);
    slot.list.numEvents = 1;
    return slot;
}

VstEvents* VstOutgoingEvents::Midi(const IMidiEvent& message) {
    Slot& slot = Next();
    VstMidiEvent& e = slot.midi;
    e.type = kVstMidiType;
    e.byteSize = sizeof(VstMidiEvent);
    e.deltaFrames = message.offset;
    e.midiData[0] = static_cast<char>(message.status);
    e.midiData[1] = static_cast<char>(message.data1);
    e.midiData[2] = static_cast<char>(message.data2);
    slot.list.events[0] = reinterpret_cast<VstEvent*>(&e);
    return &slot.list;
}

VstEvents* VstOutgoingEvents::SysEx(const ISysExMessage& message) {
    Slot& slot = Next();
    VstMidiSysexEvent& e = slot.sysex;
    e.type = kVstSysExType;
    e.byteSize = sizeof(VstMidiSysexEvent);
    e.deltaFrames = message.offset;
    e.dumpBytes = message.size;
    e.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(message.data));
    slot.list.events[0] = reinterpret_cast<VstEvent*>(&e);
    return &slot.list;
}
