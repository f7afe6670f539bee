// VST 3 binary interface, the processing side: the component with its buses and state, the
// audio processor, and the records and host lists a process call carries (buffers, events,
// parameter changes, the transport). Layouts identical on Linux and Windows.
#pragma once

#include "abi/Vst3Base.h"

namespace vst3 {

// ---- buses ----------------------------------------------------------------------------------
constexpr int32_t kAudio = 0;  // MediaTypes
constexpr int32_t kEvent = 1;
constexpr int32_t kInput = 0;  // BusDirections
constexpr int32_t kOutput = 1;
constexpr int32_t kMain = 0;  // BusTypes
constexpr int32_t kAux = 1;
constexpr uint32_t kDefaultActive = 1;  // BusInfo flags

struct BusInfo {
    int32_t mediaType;
    int32_t direction;
    int32_t channelCount;  // an event bus: its MIDI channels
    String128 name;
    int32_t busType;
    uint32_t flags;
};

struct RoutingInfo {
    int32_t mediaType;
    int32_t busIndex;
    int32_t channel;
};

using SpeakerArrangement = uint64_t;
constexpr SpeakerArrangement kSpeakerArrEmpty = 0;
constexpr SpeakerArrangement kSpeakerArrMono = 0x80000;  // the M speaker, not C
constexpr SpeakerArrangement kSpeakerArrStereo = 0x3;    // L and R

// ---- processing setup -----------------------------------------------------------------------
constexpr int32_t kSample32 = 0;  // SymbolicSampleSizes
constexpr int32_t kSample64 = 1;
constexpr int32_t kRealtime = 0;  // ProcessModes
constexpr int32_t kPrefetch = 1;
constexpr int32_t kOffline = 2;
constexpr uint32_t kNoTail = 0;

struct ProcessSetup {
    int32_t processMode;
    int32_t symbolicSampleSize;
    int32_t maxSamplesPerBlock;
    double sampleRate;
};

struct AudioBusBuffers {
    int32_t numChannels;
    uint64_t silenceFlags;  // bit n: channel n is all zero
    union {
        float** channelBuffers32;
        double** channelBuffers64;
    };
};

// ---- events ---------------------------------------------------------------------------------
struct NoteOnEvent {
    int16_t channel;
    int16_t pitch;
    float tuning;    // cents
    float velocity;  // 0..1
    int32_t length;
    int32_t noteId;  // -1: none
};

struct NoteOffEvent {
    int16_t channel;
    int16_t pitch;
    float velocity;
    int32_t noteId;
    float tuning;
};

struct DataEvent {
    uint32_t size;
    uint32_t type;         // kMidiSysEx
    const uint8_t* bytes;  // valid during the call only
};

struct PolyPressureEvent {
    int16_t channel;
    int16_t pitch;
    float pressure;
    int32_t noteId;
};

struct LegacyMIDICCOutEvent {
    uint8_t controlNumber;
    int8_t channel;
    int8_t value;
    int8_t value2;
};

constexpr uint16_t kNoteOnEvent = 0;  // Event types
constexpr uint16_t kNoteOffEvent = 1;
constexpr uint16_t kDataEvent = 2;
constexpr uint16_t kPolyPressureEvent = 3;
constexpr uint16_t kLegacyMIDICCOutEvent = 65535;
constexpr uint16_t kIsLive = 1;  // Event flags
constexpr uint32_t kMidiSysEx = 0;

struct Event {
    int32_t busIndex;
    int32_t sampleOffset;
    double ppqPosition;
    uint16_t flags;
    uint16_t type;
    union {
        NoteOnEvent noteOn;
        NoteOffEvent noteOff;
        DataEvent data;
        PolyPressureEvent polyPressure;
        LegacyMIDICCOutEvent midiCCOut;
        char payload[24];  // the largest member of the full set of event types
    };
};

class IEventList : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);
    virtual int32_t getEventCount() noexcept = 0;
    virtual tresult getEvent(int32_t index, Event& e) noexcept = 0;  // copies out
    virtual tresult addEvent(Event& e) noexcept = 0;                 // copies in

  protected:
    ~IEventList() = default;  // never deleted through an interface
};

// ---- parameter changes ----------------------------------------------------------------------
class IParamValueQueue : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);
    virtual ParamID getParameterId() noexcept = 0;
    virtual int32_t getPointCount() noexcept = 0;
    virtual tresult getPoint(int32_t index, int32_t& sampleOffset, ParamValue& value) noexcept = 0;
    virtual tresult addPoint(int32_t sampleOffset, ParamValue value, int32_t& index) noexcept = 0;

  protected:
    ~IParamValueQueue() = default;  // never deleted through an interface
};

class IParameterChanges : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);
    virtual int32_t getParameterCount() noexcept = 0;
    virtual IParamValueQueue* getParameterData(int32_t index) noexcept = 0;
    virtual IParamValueQueue* addParameterData(const ParamID& id, int32_t& index) noexcept = 0;

  protected:
    ~IParameterChanges() = default;  // never deleted through an interface
};

// ---- the transport --------------------------------------------------------------------------
struct Chord {
    uint8_t keyNote;
    uint8_t rootNote;
    int16_t chordMask;
};

struct FrameRate {
    uint32_t framesPerSecond;
    uint32_t flags;
};

struct ProcessContext {
    uint32_t state;
    double sampleRate;
    int64_t projectTimeSamples;
    int64_t systemTime;
    int64_t continousTimeSamples;
    double projectTimeMusic;
    double barPositionMusic;
    double cycleStartMusic;
    double cycleEndMusic;
    double tempo;
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    Chord chord;
    int32_t smpteOffsetSubframes;
    FrameRate frameRate;
    int32_t samplesToNextClock;
};

struct ProcessData {
    int32_t processMode;
    int32_t symbolicSampleSize;
    int32_t numSamples;
    int32_t numInputs;
    int32_t numOutputs;
    AudioBusBuffers* inputs;
    AudioBusBuffers* outputs;
    IParameterChanges* inputParameterChanges;
    IParameterChanges* outputParameterChanges;
    IEventList* inputEvents;
    IEventList* outputEvents;
    ProcessContext* processContext;
};

// ---- the component and the audio processor --------------------------------------------------
class IComponent : public IPluginBase {
  public:
    static constexpr Uid iid = MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
    virtual tresult getControllerClassId(TUID classId) noexcept = 0;
    virtual tresult setIoMode(int32_t mode) noexcept = 0;
    virtual int32_t getBusCount(int32_t type, int32_t dir) noexcept = 0;
    virtual tresult getBusInfo(int32_t type, int32_t dir, int32_t index, BusInfo& bus) noexcept = 0;
    virtual tresult getRoutingInfo(RoutingInfo& in, RoutingInfo& out) noexcept = 0;
    virtual tresult activateBus(int32_t type, int32_t dir, int32_t index, TBool state) noexcept = 0;
    virtual tresult setActive(TBool state) noexcept = 0;
    virtual tresult setState(IBStream* state) noexcept = 0;
    virtual tresult getState(IBStream* state) noexcept = 0;

  protected:
    ~IComponent() = default;  // never deleted through an interface
};

class IAudioProcessor : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);
    virtual tresult setBusArrangements(SpeakerArrangement* inputs, int32_t numIns,
                                       SpeakerArrangement* outputs, int32_t numOuts) noexcept = 0;
    virtual tresult getBusArrangement(int32_t dir, int32_t index, SpeakerArrangement& arr) noexcept = 0;
    virtual tresult canProcessSampleSize(int32_t symbolicSampleSize) noexcept = 0;
    virtual uint32_t getLatencySamples() noexcept = 0;
    virtual tresult setupProcessing(ProcessSetup& setup) noexcept = 0;
    virtual tresult setProcessing(TBool state) noexcept = 0;
    virtual tresult process(ProcessData& data) noexcept = 0;
    virtual uint32_t getTailSamples() noexcept = 0;

  protected:
    ~IAudioProcessor() = default;  // never deleted through an interface
};

class IProcessContextRequirements : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);
    virtual uint32_t getProcessContextRequirements() noexcept = 0;

  protected:
    ~IProcessContextRequirements() = default;  // never deleted through an interface
};

// ---- layout checks (x86-64, both platforms) -------------------------------------------------
static_assert(sizeof(BusInfo) == 276 && alignof(BusInfo) == 4);
static_assert(offsetof(BusInfo, channelCount) == 8);
static_assert(offsetof(BusInfo, name) == 12);
static_assert(offsetof(BusInfo, busType) == 268);
static_assert(offsetof(BusInfo, flags) == 272);
static_assert(sizeof(RoutingInfo) == 12);

static_assert(sizeof(ProcessSetup) == 24 && alignof(ProcessSetup) == 8);
static_assert(offsetof(ProcessSetup, maxSamplesPerBlock) == 8);
static_assert(offsetof(ProcessSetup, sampleRate) == 16);

static_assert(sizeof(AudioBusBuffers) == 24 && alignof(AudioBusBuffers) == 8);
static_assert(offsetof(AudioBusBuffers, silenceFlags) == 8);
static_assert(offsetof(AudioBusBuffers, channelBuffers32) == 16);
static_assert(offsetof(AudioBusBuffers, channelBuffers64) == 16);

static_assert(sizeof(NoteOnEvent) == 20 && sizeof(NoteOffEvent) == 16 && sizeof(DataEvent) == 16);
static_assert(sizeof(PolyPressureEvent) == 12 && sizeof(LegacyMIDICCOutEvent) == 4);
static_assert(offsetof(NoteOnEvent, velocity) == 8 && offsetof(NoteOnEvent, noteId) == 16);
static_assert(offsetof(NoteOffEvent, velocity) == 4 && offsetof(NoteOffEvent, tuning) == 12);
static_assert(sizeof(Event) == 48 && alignof(Event) == 8);
static_assert(offsetof(Event, sampleOffset) == 4);
static_assert(offsetof(Event, ppqPosition) == 8);
static_assert(offsetof(Event, flags) == 16);
static_assert(offsetof(Event, type) == 18);
static_assert(offsetof(Event, noteOn) == 24);
static_assert(offsetof(Event, noteOn) + offsetof(NoteOnEvent, velocity) == 32);
static_assert(offsetof(Event, data) + offsetof(DataEvent, bytes) == 32);
static_assert(offsetof(Event, midiCCOut) + offsetof(LegacyMIDICCOutEvent, value) == 26);

static_assert(sizeof(ProcessContext) == 112 && alignof(ProcessContext) == 8);
static_assert(offsetof(ProcessContext, sampleRate) == 8);
static_assert(offsetof(ProcessContext, continousTimeSamples) == 32);
static_assert(offsetof(ProcessContext, tempo) == 72);
static_assert(offsetof(ProcessContext, timeSigNumerator) == 80);
static_assert(offsetof(ProcessContext, chord) == 88);
static_assert(offsetof(ProcessContext, smpteOffsetSubframes) == 92);
static_assert(offsetof(ProcessContext, frameRate) == 96);
static_assert(offsetof(ProcessContext, samplesToNextClock) == 104);

static_assert(sizeof(ProcessData) == 80 && alignof(ProcessData) == 8);
static_assert(offsetof(ProcessData, numSamples) == 8);
static_assert(offsetof(ProcessData, numOutputs) == 16);
static_assert(offsetof(ProcessData, inputs) == 24);
static_assert(offsetof(ProcessData, outputs) == 32);
static_assert(offsetof(ProcessData, inputParameterChanges) == 40);
static_assert(offsetof(ProcessData, outputParameterChanges) == 48);
static_assert(offsetof(ProcessData, inputEvents) == 56);
static_assert(offsetof(ProcessData, outputEvents) == 64);
static_assert(offsetof(ProcessData, processContext) == 72);

}  // namespace vst3
