#include "tools/vsthost/validate/EventBatch.h"

#include <cstring>

void EventBatch::Clear() {
    midi.clear();
    sysex.clear();
    dumps.clear();
    unknown.clear();
    order.clear();
}

void EventBatch::Midi(int32_t deltaFrames, uint8_t status, uint8_t data1, uint8_t data2) {
    VstMidiEvent e{};
    e.type = kVstMidiType;
    e.byteSize = sizeof(VstMidiEvent);
    e.deltaFrames = deltaFrames;
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(data1);
    e.midiData[2] = static_cast<char>(data2);
    midi.push_back(e);
    order.push_back({0, midi.size() - 1});
}

void EventBatch::SysEx(int32_t deltaFrames, const std::vector<uint8_t>& bytes) {
    dumps.push_back(bytes);
    VstMidiSysexEvent e{};
    e.type = kVstSysExType;
    e.byteSize = sizeof(VstMidiSysexEvent);
    e.deltaFrames = deltaFrames;
    e.dumpBytes = static_cast<int32_t>(bytes.size());
    e.sysexDump = reinterpret_cast<char*>(dumps.back().data());
    sysex.push_back(e);
    order.push_back({1, sysex.size() - 1});
}

void EventBatch::EmptySysEx(int32_t deltaFrames) {
    VstMidiSysexEvent e{};
    e.type = kVstSysExType;
    e.byteSize = sizeof(VstMidiSysexEvent);
    e.deltaFrames = deltaFrames;
    sysex.push_back(e);
    order.push_back({1, sysex.size() - 1});
}

void EventBatch::NullEntry() {
    order.push_back({2, 0});
}

void EventBatch::Unknown(int32_t deltaFrames) {
    VstEvent e{};
    e.type = 99;
    e.byteSize = 7;
    e.deltaFrames = deltaFrames;
    std::memset(e.data, 0xFF, sizeof e.data);
    unknown.push_back(e);
    order.push_back({3, unknown.size() - 1});
}

intptr_t EventBatch::Deliver(HostedEffect& effect) {
    entries.clear();
    for (const Entry& e : order) {
        switch (e.kind) {
            case 0:
                entries.push_back(reinterpret_cast<VstEvent*>(&midi[e.index]));
                break;
            case 1:
                entries.push_back(reinterpret_cast<VstEvent*>(&sysex[e.index]));
                break;
            case 2:
                entries.push_back(nullptr);
                break;
            default:
                entries.push_back(&unknown[e.index]);
                break;
        }
    }
    return effect.ProcessEvents(list.Assign(entries.data(), entries.size()));
}
