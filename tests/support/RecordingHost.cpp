#include "tests/support/RecordingHost.h"

#include <cstring>
#include <mutex>

intptr_t RecordingHost::Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                 float opt) {
    RecordingHost* host = effect ? static_cast<RecordingHost*>(effect->user) : nullptr;
    if (!host) return 0;
    // Like a real host, safe to call from every thread: the editor's gestures come without the
    // plug-in's lock.
    std::lock_guard<std::mutex> hold(host->lock);
    host->calls.push_back({opcode, index, value, opt});
    switch (opcode) {
        case audioMasterGetTime:
            return host->timeIsNull ? 0 : reinterpret_cast<intptr_t>(&host->time);
        case audioMasterProcessEvents: {
            const auto* events = static_cast<const VstEvents*>(ptr);
            VstEvent* const* entries = events ? events->events : nullptr;
            for (int i = 0; events && i < events->numEvents; ++i) {
                const VstEvent* e = entries[i];
                if (e->type == kVstMidiType) host->midi.push_back(*reinterpret_cast<const VstMidiEvent*>(e));
                if (e->type == kVstSysExType)
                    host->sysex.push_back(*reinterpret_cast<const VstMidiSysexEvent*>(e));
            }
            return host->processEventsAnswer;
        }
        case audioMasterGetProductString:
            std::strcpy(static_cast<char*>(ptr), host->product.c_str());
            return host->product.empty() ? 0 : 1;
        case audioMasterGetVendorVersion:
            return host->vendorVersion;
        default:
            return 0;
    }
}

int RecordingHost::CountOf(int32_t opcode) const {
    return static_cast<int>(CallsOf(opcode).size());
}

std::vector<RecordingHost::Call> RecordingHost::CallsOf(int32_t opcode) const {
    std::vector<Call> out;
    for (const Call& c : calls) {
        if (c.opcode == opcode) out.push_back(c);
    }
    return out;
}
