#include "tools/vsthost/host/HostCallback.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "tools/vsthost/host/RealtimeProbe.h"

namespace {

// Effects bound to a host. A plug-in cannot be trusted to leave the record's reserved fields
// alone, so the binding lives here rather than in the record.
std::mutex registryLock;
std::vector<std::pair<AEffect*, HostCallback*>>& Registry() {
    static std::vector<std::pair<AEffect*, HostCallback*>> registry;
    return registry;
}

thread_local HostCallback* entryPointHost = nullptr;
thread_local int32_t threadProcessLevel = 0;
// The time record handed out by audioMasterGetTime. The plug-in reads it after the call has
// returned, outside the host's lock, while another of its threads may ask again: one per thread.
thread_local VstTimeInfo threadTimeInfo{};

// Capabilities this host claims (audioMasterCanDo).
constexpr const char* kHostCanDo[] = {
    "sendVstEvents",    "sendVstMidiEvent",    "sendVstTimeInfo",
    "receiveVstEvents", "receiveVstMidiEvent", "startStopProcess",
};

// The host's strings are short; the nominal limit keeps the copy inside any plug-in's buffer.
void WriteHostText(void* ptr, const std::string& text) {
    char* out = static_cast<char*>(ptr);
    out[text.copy(out, kVstMaxVendorStrLen - 1)] = '\0';
}

}  // namespace

HostCallback::HostCallback(size_t capacity) : midiCapacity(capacity) {
    midi.reserve(midiCapacity);
    automations.reserve(4096);
    gestures.reserve(4096);
}

HostCallback::~HostCallback() {
    std::lock_guard<std::mutex> guard(registryLock);
    auto& registry = Registry();
    registry.erase(
        std::remove_if(registry.begin(), registry.end(), [this](const auto& e) { return e.second == this; }),
        registry.end());
}

void HostCallback::Attach(AEffect* effect) {
    if (!effect) return;
    std::lock_guard<std::mutex> guard(registryLock);
    auto& registry = Registry();
    for (auto& entry : registry) {
        if (entry.first == effect) {
            entry.second = this;
            return;
        }
    }
    registry.emplace_back(effect, this);
}

void HostCallback::Detach(AEffect* effect) {
    std::lock_guard<std::mutex> guard(registryLock);
    auto& registry = Registry();
    registry.erase(std::remove_if(registry.begin(), registry.end(),
                                  [&](const auto& e) { return e.first == effect && e.second == this; }),
                   registry.end());
}

HostCallback* HostCallback::Lookup(AEffect* effect) {
    if (effect) {
        std::lock_guard<std::mutex> guard(registryLock);
        for (const auto& entry : Registry())
            if (entry.first == effect) return entry.second;
    }
    return entryPointHost;
}

intptr_t HostCallback::Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) {
    // What the host does to answer is its own work, not the plug-in's, even on an audio thread.
    RealtimeProbe::Pause hostWork;
    if (HostCallback* host = Lookup(effect)) return host->Answer(effect, opcode, index, value, ptr, opt);
    // Nobody to record for: answer as a plain host would, without remembering anything.
    // Never destroyed, so a plug-in calling back during process exit still gets an answer.
    static HostCallback* unbound = new HostCallback(0);
    if (opcode == audioMasterProcessEvents) return ptr ? 1 : 0;
    if (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit)
        return 0;
    return unbound->Answer(effect, opcode, index, value, ptr, opt);
}

intptr_t HostCallback::Answer(AEffect* /*effect*/, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                              float opt) {
    std::lock_guard<std::mutex> guard(lock);
    switch (opcode) {
        case audioMasterAutomate:
            automations.push_back({index, opt, ++notificationSequence});
            return 0;
        case audioMasterIdle:
            ++counts.idle;
            return 0;
        case audioMasterWantMidi:
            ++counts.wantMidi;
            return 1;
        case audioMasterGetTime:
            ++counts.getTime;
            return reinterpret_cast<intptr_t>(FillTime(static_cast<int32_t>(value)));
        case audioMasterProcessEvents:
            return ProcessEvents(static_cast<const VstEvents*>(ptr));
        case audioMasterIOChanged:
            ++counts.ioChanged;
            return 1;
        case audioMasterSizeWindow:
            ++counts.sizeWindow;
            counts.lastWindowWidth = index;
            counts.lastWindowHeight = static_cast<int32_t>(value);
            return 1;
        case audioMasterUpdateDisplay:
            ++counts.updateDisplay;
            return 1;
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
            gestures.push_back({index, opcode == audioMasterBeginEdit, ++notificationSequence});
            return 1;
        default:
            return AnswerQuery(opcode, ptr);
    }
}

intptr_t HostCallback::AnswerQuery(int32_t opcode, void* ptr) {
    switch (opcode) {
        case audioMasterVersion:
            return kHostVersion;
        case audioMasterCurrentId:
            return 0;
        case audioMasterGetSampleRate:
            return static_cast<intptr_t>(sampleRate);
        case audioMasterGetBlockSize:
            return blockSize;
        case audioMasterGetCurrentProcessLevel:
            return threadProcessLevel != 0 ? threadProcessLevel : processLevel;
        case audioMasterGetAutomationState:
            return 1;  // automation off: nothing is played back or written
        case audioMasterGetVendorString:
            if (!ptr) return 0;
            WriteHostText(ptr, vendor);
            return 1;
        case audioMasterGetProductString:
            if (!ptr) return 0;
            WriteHostText(ptr, product);
            return 1;
        case audioMasterGetVendorVersion:
            return vendorVersion;
        case audioMasterCanDo: {
            if (!ptr) return 0;
            const char* text = static_cast<const char*>(ptr);
            for (const char* known : kHostCanDo)
                if (std::strcmp(text, known) == 0) return 1;
            return 0;
        }
        case audioMasterGetLanguage:
            return 1;  // English
        default:
            return 0;
    }
}

intptr_t HostCallback::ProcessEvents(const VstEvents* events) {
    if (!events) return 0;
    int32_t n = std::clamp(events->numEvents, 0, kMaxEventsPerCall);
    // The list runs past the record's nominal two entries; index through a plain pointer.
    VstEvent* const* entries = events->events;
    for (int32_t i = 0; i < n; ++i) {
        const VstEvent* event = entries[i];
        if (!event) continue;
        int64_t frame = static_cast<int64_t>(samplePos) + event->deltaFrames;
        if (event->type == kVstMidiType) {
            const auto* m = reinterpret_cast<const VstMidiEvent*>(event);
            ++midiCount;
            if (midi.size() < midiCapacity) {
                HostMidiMessage message;
                message.frame = frame;
                message.deltaFrames = m->deltaFrames;
                std::memcpy(message.bytes, m->midiData, 4);
                midi.push_back(message);
            }
        } else if (event->type == kVstSysExType) {
            const auto* s = reinterpret_cast<const VstMidiSysexEvent*>(event);
            HostSysExMessage message;
            message.frame = frame;
            message.deltaFrames = s->deltaFrames;
            int32_t bytes = std::clamp(s->dumpBytes, 0, kMaxSysExBytes);
            if (s->sysexDump && bytes > 0) {
                const auto* data = reinterpret_cast<const uint8_t*>(s->sysexDump);
                message.data.assign(data, data + bytes);
            }
            sysex.push_back(std::move(message));
        }
    }
    return 1;
}

const VstTimeInfo* HostCallback::FillTime(int32_t requested) {
    VstTimeInfo& t = threadTimeInfo;
    t = VstTimeInfo{};
    t.samplePos = samplePos;
    t.sampleRate = sampleRate;
    t.flags = playing ? kVstTransportPlaying : 0;
    double seconds = sampleRate > 0 ? samplePos / sampleRate : 0.0;
    double ppq = seconds * tempo / 60.0;
    if (requested & kVstNanosValid) {
        t.nanoSeconds = seconds * 1e9;
        t.flags |= kVstNanosValid;
    }
    if (requested & kVstPpqPosValid) {
        t.ppqPos = ppq;
        t.flags |= kVstPpqPosValid;
    }
    if (requested & kVstTempoValid) {
        t.tempo = tempo;
        t.flags |= kVstTempoValid;
    }
    if ((requested & kVstBarsValid) && timeSigDenominator > 0) {
        double quartersPerBar = timeSigNumerator * 4.0 / timeSigDenominator;
        t.barStartPos = quartersPerBar > 0 ? std::floor(ppq / quartersPerBar) * quartersPerBar : 0.0;
        t.flags |= kVstBarsValid;
    }
    if (requested & kVstTimeSigValid) {
        t.timeSigNumerator = timeSigNumerator;
        t.timeSigDenominator = timeSigDenominator;
        t.flags |= kVstTimeSigValid;
    }
    // Cycle, SMPTE and MIDI clock are not offered: their flags stay clear.
    return &t;
}

void HostCallback::SetIdentity(const std::string& v, const std::string& p, int32_t version) {
    std::lock_guard<std::mutex> guard(lock);
    vendor = v;
    product = p;
    vendorVersion = version;
}

void HostCallback::SetSampleRate(double rate) {
    std::lock_guard<std::mutex> guard(lock);
    sampleRate = rate;
}

void HostCallback::SetBlockSize(int32_t frames) {
    std::lock_guard<std::mutex> guard(lock);
    blockSize = frames;
}

void HostCallback::SetProcessLevel(int32_t level) {
    std::lock_guard<std::mutex> guard(lock);
    processLevel = level;
}

void HostCallback::SetThreadProcessLevel(int32_t level) {
    threadProcessLevel = level;
}

void HostCallback::SetTempo(double bpm) {
    std::lock_guard<std::mutex> guard(lock);
    tempo = bpm;
}

void HostCallback::SetTimeSignature(int32_t numerator, int32_t denominator) {
    std::lock_guard<std::mutex> guard(lock);
    timeSigNumerator = numerator;
    timeSigDenominator = denominator;
}

void HostCallback::SetTransport(double pos, bool isPlaying) {
    std::lock_guard<std::mutex> guard(lock);
    samplePos = pos;
    playing = isPlaying;
}

std::vector<HostMidiMessage> HostCallback::ReceivedMidi() const {
    std::lock_guard<std::mutex> guard(lock);
    return midi;
}

int64_t HostCallback::ReceivedMidiCount() const {
    std::lock_guard<std::mutex> guard(lock);
    return midiCount;
}

std::vector<HostSysExMessage> HostCallback::ReceivedSysEx() const {
    std::lock_guard<std::mutex> guard(lock);
    return sysex;
}

std::vector<HostAutomation> HostCallback::Automations() const {
    std::lock_guard<std::mutex> guard(lock);
    return automations;
}

std::vector<HostEditGesture> HostCallback::EditGestures() const {
    std::lock_guard<std::mutex> guard(lock);
    return gestures;
}

HostCallCounts HostCallback::Counts() const {
    std::lock_guard<std::mutex> guard(lock);
    return counts;
}

void HostCallback::ClearRecords() {
    std::lock_guard<std::mutex> guard(lock);
    midi.clear();
    midiCount = 0;
    sysex.clear();
    automations.clear();
    gestures.clear();
    counts = HostCallCounts{};
}

EntryPointScope::EntryPointScope(HostCallback& host) : previous(entryPointHost) {
    entryPointHost = &host;
}

EntryPointScope::~EntryPointScope() {
    entryPointHost = previous;
}
