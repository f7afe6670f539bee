#include "tests/effect/FakeHost.h"

FakeHost* FakeHost::active = nullptr;

FakeHost::FakeHost() {
    calls.reserve(1024);
    active = this;
}

FakeHost::~FakeHost() {
    active = nullptr;
}

intptr_t FakeHost::Callback(AEffect*, int32_t opcode, int32_t index, intptr_t, void* ptr, float opt) {
    FakeHost* host = active;
    switch (opcode) {
        case audioMasterVersion:
            return 2400;
        case audioMasterAutomate:
            if (host) host->calls.push_back({Kind::Automate, index, opt, {}});
            return 0;
        case audioMasterBeginEdit:
            if (host) host->calls.push_back({Kind::BeginEdit, index, 0.0f, {}});
            return 0;
        case audioMasterEndEdit:
            if (host) host->calls.push_back({Kind::EndEdit, index, 0.0f, {}});
            return 0;
        case audioMasterProcessEvents: {
            const auto* events = static_cast<const VstEvents*>(ptr);
            if (!host || !events) return 0;
            for (int32_t i = 0; i < events->numEvents; ++i) {
                const VstEvent* event = events->events[i];
                if (!event || event->type != kVstMidiType) continue;
                const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
                host->calls.push_back(
                    {Kind::Midi,
                     midi->deltaFrames,
                     0.0f,
                     {static_cast<uint8_t>(midi->midiData[0]), static_cast<uint8_t>(midi->midiData[1]),
                      static_cast<uint8_t>(midi->midiData[2])}});
            }
            return 1;
        }
        default:
            return 0;
    }
}
