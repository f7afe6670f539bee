#include "tools/vsthost/host/vst3/HostEventList.h"

void HostEventList::AddNote(bool on, int16_t pitch, int velocity, int32_t sampleOffset) {
    vst3::Event e{};
    e.sampleOffset = sampleOffset;
    e.flags = vst3::kIsLive;
    const float v = static_cast<float>(velocity) / 127.0f;
    if (on) {
        e.type = vst3::kNoteOnEvent;
        e.noteOn = {0, pitch, 0.0f, v, 0, -1};
    } else {
        e.type = vst3::kNoteOffEvent;
        e.noteOff = {0, pitch, v, -1, 0.0f};
    }
    addEvent(e);
}

vst3::tresult HostEventList::getEvent(int32_t index, vst3::Event& e) noexcept {
    if (index < 0 || static_cast<size_t>(index) >= events.size()) return vst3::kInvalidArgument;
    e = events[static_cast<size_t>(index)];
    return vst3::kResultOk;
}

vst3::tresult HostEventList::addEvent(vst3::Event& e) noexcept {
    if (events.size() == events.capacity()) return vst3::kOutOfMemory;
    events.push_back(e);
    return vst3::kResultOk;
}
