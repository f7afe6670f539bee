// The host side of the VST 2 callback: what a plug-in learns from its host (version, names, time,
// sample rate, block size, capabilities) and a record of what it tells the host (MIDI and SysEx
// sent back, automation, begin/end-edit gestures, display and window requests).
//
// One HostCallback serves any number of effects; an effect is bound to it with Attach (done by
// PluginModule::CreateEffect, which also answers calls made from inside the entry point). Calls
// for an effect that is bound to no host get default answers and are not recorded, so a null or
// unknown record never crashes the callback. All members are safe to call from several threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "abi/VstAbi.h"

// A short MIDI message the plug-in sent through audioMasterProcessEvents.
struct HostMidiMessage {
    int64_t frame = 0;        // transport position of the block + deltaFrames
    int32_t deltaFrames = 0;  // as the plug-in gave it
    uint8_t bytes[4] = {};    // midiData
};

struct HostSysExMessage {
    int64_t frame = 0;
    int32_t deltaFrames = 0;
    std::vector<uint8_t> data;
};

struct HostAutomation {
    int32_t index = 0;
    float value = 0;
    uint64_t sequence = 0;  // place among every automation and gesture of this host
};

struct HostEditGesture {
    int32_t index = 0;
    bool begin = false;  // audioMasterBeginEdit, else audioMasterEndEdit
    uint64_t sequence = 0;
};

struct HostCallCounts {
    int64_t wantMidi = 0;
    int64_t getTime = 0;
    int64_t idle = 0;
    int64_t updateDisplay = 0;
    int64_t ioChanged = 0;
    int64_t sizeWindow = 0;
    int32_t lastWindowWidth = 0;
    int32_t lastWindowHeight = 0;
};

class HostCallback {
  public:
    static constexpr int32_t kHostVersion = 2400;
    // Messages stored before the record stops growing (counting goes on); reserved up front so that
    // recording during an audio callback does not allocate.
    static constexpr size_t kDefaultMidiCapacity = 65536;
    // Limits on what a plug-in may hand over in one audioMasterProcessEvents call.
    static constexpr int32_t kMaxEventsPerCall = 65536;
    static constexpr int32_t kMaxSysExBytes = 1 << 20;

    explicit HostCallback(size_t midiCapacity = kDefaultMidiCapacity);
    ~HostCallback();
    HostCallback(const HostCallback&) = delete;
    HostCallback& operator=(const HostCallback&) = delete;

    // The function handed to a module's entry point.
    static intptr_t Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                             float opt);

    void Attach(AEffect* effect);
    void Detach(AEffect* effect);

    // Answers the host gives.
    void SetIdentity(const std::string& vendor, const std::string& product, int32_t vendorVersion);
    void SetSampleRate(double rate);
    void SetBlockSize(int32_t frames);
    void SetProcessLevel(int32_t level);
    // The level answered to calls made on the calling thread (a host's audio thread is
    // kVstProcessLevelRealtime); 0 returns the thread to the host-wide level.
    static void SetThreadProcessLevel(int32_t level);
    void SetTempo(double bpm);
    void SetTimeSignature(int32_t numerator, int32_t denominator);
    // Transport position in frames of the block about to be processed; also the base of the frame
    // recorded with each message sent back.
    void SetTransport(double samplePos, bool playing);

    // What the plug-in told the host.
    std::vector<HostMidiMessage> ReceivedMidi() const;
    int64_t ReceivedMidiCount() const;  // including messages beyond the stored capacity
    std::vector<HostSysExMessage> ReceivedSysEx() const;
    std::vector<HostAutomation> Automations() const;
    std::vector<HostEditGesture> EditGestures() const;
    HostCallCounts Counts() const;
    void ClearRecords();

    // The host's answer for one request, as Callback gives it for an attached effect.
    intptr_t Answer(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

  private:
    static HostCallback* Lookup(AEffect* effect);

    intptr_t ProcessEvents(const VstEvents* events);
    // What the host is and does (version, names, rate, capabilities); lock held.
    intptr_t AnswerQuery(int32_t opcode, void* ptr);
    const VstTimeInfo* FillTime(int32_t requested);

    mutable std::mutex lock;
    std::string vendor = "Vesmar";
    std::string product = "vsthost";
    int32_t vendorVersion = 10100;
    double sampleRate = 44100.0;
    int32_t blockSize = 512;
    int32_t processLevel = kVstProcessLevelUser;
    double tempo = 120.0;
    int32_t timeSigNumerator = 4;
    int32_t timeSigDenominator = 4;
    double samplePos = 0.0;
    bool playing = false;

    size_t midiCapacity;
    std::vector<HostMidiMessage> midi;
    int64_t midiCount = 0;
    std::vector<HostSysExMessage> sysex;
    std::vector<HostAutomation> automations;
    std::vector<HostEditGesture> gestures;
    uint64_t notificationSequence = 0;
    HostCallCounts counts;
};

// While alive, callbacks made on this thread with a record no host knows yet (a plug-in calling
// back from inside its entry point) are answered by the given host.
class EntryPointScope {
  public:
    explicit EntryPointScope(HostCallback& host);
    ~EntryPointScope();
    EntryPointScope(const EntryPointScope&) = delete;
    EntryPointScope& operator=(const EntryPointScope&) = delete;

  private:
    HostCallback* previous;
};
