// VST 2.4 binary interface: records, function types and constants, declared from the published
// layout facts (x86-64, identical on LP64 Linux and LLP64 Windows). The static_asserts at the end
// check every size and offset on each build, so a field slip fails to compile on both platforms.
#pragma once

#include <cstddef>
#include <cstdint>

struct AEffect;

// ---- function types -------------------------------------------------------------------------
// x86-64 has one C calling convention per platform, so no convention marker is needed. The
// record's functions are noexcept: no C++ exception may unwind into a host, so every
// implementation answers failures with a neutral value instead.
extern "C" {
typedef intptr_t (*audioMasterCallback)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                        void* ptr, float opt);
typedef intptr_t (*AEffectDispatcherProc)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                          void* ptr, float opt) noexcept;
typedef void (*AEffectProcessProc)(AEffect* effect, float** inputs, float** outputs,
                                   int32_t sampleFrames) noexcept;
typedef void (*AEffectProcessDoubleProc)(AEffect* effect, double** inputs, double** outputs,
                                         int32_t sampleFrames) noexcept;
typedef void (*AEffectSetParameterProc)(AEffect* effect, int32_t index, float parameter) noexcept;
typedef float (*AEffectGetParameterProc)(AEffect* effect, int32_t index) noexcept;
// The module's exported entry point (VSTPluginMain, and main as an alias).
typedef AEffect* (*VstPluginMainProc)(audioMasterCallback host);
}

// ---- the effect record ----------------------------------------------------------------------
constexpr int32_t kEffectMagic = 0x56737450;  // the characters VstP

struct AEffect {
    int32_t magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;  // accumulating
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    intptr_t resvd1;  // reserved for the host
    intptr_t resvd2;  // reserved for the host
    int32_t initialDelay;
    int32_t realQualities;  // unused, 0
    int32_t offQualities;   // unused, 0
    float ioRatio;
    void* object;  // the plug-in
    void* user;    // the host's
    int32_t uniqueID;
    int32_t version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

// Effect flags.
constexpr int32_t effFlagsHasEditor = 1;
constexpr int32_t effFlagsCanMono = 8;
constexpr int32_t effFlagsCanReplacing = 0x10;
constexpr int32_t effFlagsProgramChunks = 0x20;
constexpr int32_t effFlagsIsSynth = 0x100;
constexpr int32_t effFlagsNoSoundInStop = 0x200;
constexpr int32_t effFlagsCanDoubleReplacing = 0x1000;

// ---- plug-in opcodes (host -> plug-in, through the dispatcher) -------------------------------
enum AEffectOpcodes : int32_t {
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,
    effGetProgram = 3,
    effSetProgramName = 4,
    effGetProgramName = 5,
    effGetParamLabel = 6,
    effGetParamDisplay = 7,
    effGetParamName = 8,
    effSetSampleRate = 10,
    effSetBlockSize = 11,
    effMainsChanged = 12,
    effEditGetRect = 13,
    effEditOpen = 14,
    effEditClose = 15,
    effEditIdle = 19,
    effIdentify = 22,
    effGetChunk = 23,
    effSetChunk = 24,
    effProcessEvents = 25,
    effCanBeAutomated = 26,
    effString2Parameter = 27,
    effGetProgramNameIndexed = 29,
    effGetInputProperties = 33,
    effGetOutputProperties = 34,
    effGetPlugCategory = 35,
    effProcessVarIo = 41,
    effSetSpeakerArrangement = 42,
    effSetBypass = 44,
    effGetEffectName = 45,
    effGetVendorString = 47,
    effGetProductString = 48,
    effGetVendorVersion = 49,
    effVendorSpecific = 50,
    effCanDo = 51,
    effGetTailSize = 52,
    effIdle = 53,
    effGetParameterProperties = 56,
    effGetVstVersion = 58,
    effGetMidiKeyName = 66,
    effBeginSetProgram = 67,
    effEndSetProgram = 68,
    effGetSpeakerArrangement = 69,
    effStartProcess = 71,
    effStopProcess = 72,
    effSetProcessPrecision = 77,
};

// effIdentify's answer: the characters NvEf.
constexpr int32_t kVstIdentifyMagic = 0x4E764566;

// ---- host opcodes (plug-in -> host, through audioMasterCallback) -----------------------------
enum AudioMasterOpcodes : int32_t {
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterWantMidi = 6,
    audioMasterGetTime = 7,
    audioMasterProcessEvents = 8,
    audioMasterIOChanged = 13,
    audioMasterSizeWindow = 15,
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetCurrentProcessLevel = 23,
    audioMasterGetAutomationState = 24,
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterVendorSpecific = 35,
    audioMasterCanDo = 37,
    audioMasterGetLanguage = 38,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
};

// Answers of audioMasterGetCurrentProcessLevel.
constexpr int32_t kVstProcessLevelUnknown = 0;
constexpr int32_t kVstProcessLevelUser = 1;
constexpr int32_t kVstProcessLevelRealtime = 2;
constexpr int32_t kVstProcessLevelPrefetch = 3;
constexpr int32_t kVstProcessLevelOffline = 4;

// effSetProcessPrecision's value.
constexpr int32_t kVstProcessPrecision32 = 0;
constexpr int32_t kVstProcessPrecision64 = 1;

// Plug-in categories (effGetPlugCategory).
constexpr int32_t kPlugCategUnknown = 0;
constexpr int32_t kPlugCategEffect = 1;
constexpr int32_t kPlugCategSynth = 2;

// Nominal text limits of the interface, including the terminator. Real hosts hand over far
// larger buffers; writers still keep texts short and terminated.
constexpr int kVstMaxProgNameLen = 24;
constexpr int kVstMaxParamStrLen = 8;
constexpr int kVstMaxVendorStrLen = 64;
constexpr int kVstMaxProductStrLen = 64;
constexpr int kVstMaxEffectNameLen = 32;

// ---- editor rectangle -----------------------------------------------------------------------
struct ERect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

// ---- events ---------------------------------------------------------------------------------
constexpr int32_t kVstMidiType = 1;
constexpr int32_t kVstSysExType = 6;

// VstMidiEvent flags.
constexpr int32_t kVstMidiEventIsRealtime = 1;

struct VstEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    char data[16];
};

struct VstEvents {
    int32_t numEvents;
    intptr_t reserved;
    VstEvent* events[2];  // a host allocates as many entries as numEvents says
};

struct VstMidiEvent {
    int32_t type;      // kVstMidiType
    int32_t byteSize;  // sizeof(VstMidiEvent)
    int32_t deltaFrames;
    int32_t flags;
    int32_t noteLength;
    int32_t noteOffset;
    char midiData[4];  // status, data1, data2, 0 (read through unsigned char)
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

struct VstMidiSysexEvent {
    int32_t type;      // kVstSysExType
    int32_t byteSize;  // sizeof(VstMidiSysexEvent)
    int32_t deltaFrames;
    int32_t flags;
    int32_t dumpBytes;
    intptr_t resvd1;
    char* sysexDump;
    intptr_t resvd2;
};

// ---- time information -----------------------------------------------------------------------
constexpr int32_t kVstTransportChanged = 1;
constexpr int32_t kVstTransportPlaying = 2;
constexpr int32_t kVstTransportCycleActive = 4;
constexpr int32_t kVstTransportRecording = 8;
constexpr int32_t kVstAutomationWriting = 0x40;
constexpr int32_t kVstAutomationReading = 0x80;
constexpr int32_t kVstNanosValid = 0x100;
constexpr int32_t kVstPpqPosValid = 0x200;
constexpr int32_t kVstTempoValid = 0x400;
constexpr int32_t kVstBarsValid = 0x800;
constexpr int32_t kVstCyclePosValid = 0x1000;
constexpr int32_t kVstTimeSigValid = 0x2000;
constexpr int32_t kVstSmpteValid = 0x4000;
constexpr int32_t kVstClockValid = 0x8000;

struct VstTimeInfo {
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    int32_t smpteOffset;
    int32_t smpteFrameRate;
    int32_t samplesToNextClock;
    int32_t flags;
};

// ---- pins and speakers ----------------------------------------------------------------------
constexpr int32_t kVstPinIsActive = 1;
constexpr int32_t kVstPinIsStereo = 2;
constexpr int32_t kVstPinUseSpeaker = 4;

struct VstPinProperties {
    char label[64];
    int32_t flags;
    int32_t arrangementType;
    char shortLabel[8];
    char future[48];
};

constexpr int32_t kSpeakerArrUserDefined = -2;
constexpr int32_t kSpeakerArrEmpty = -1;
constexpr int32_t kSpeakerArrMono = 0;
constexpr int32_t kSpeakerArrStereo = 1;

struct VstSpeakerProperties {
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    int32_t type;
    char future[28];
};

struct VstSpeakerArrangement {
    int32_t type;
    int32_t numChannels;
    VstSpeakerProperties speakers[8];
};

// ---- parameter properties (effGetParameterProperties) ---------------------------------------
constexpr int32_t kVstParameterIsSwitch = 1;
constexpr int32_t kVstParameterUsesIntegerMinMax = 2;
constexpr int32_t kVstParameterUsesFloatStep = 4;
constexpr int32_t kVstParameterUsesIntStep = 8;
constexpr int32_t kVstParameterSupportsDisplayIndex = 16;
constexpr int32_t kVstParameterSupportsDisplayCategory = 32;
constexpr int32_t kVstParameterCanRamp = 64;

struct VstParameterProperties {
    float stepFloat;  // normalised steps, with kVstParameterUsesFloatStep
    float smallStepFloat;
    float largeStepFloat;
    char label[64];
    int32_t flags;
    int32_t minInteger;  // with kVstParameterUsesIntegerMinMax
    int32_t maxInteger;
    int32_t stepInteger;  // with kVstParameterUsesIntStep
    int32_t largeStepInteger;
    char shortLabel[8];
    int16_t displayIndex;  // with kVstParameterSupportsDisplayIndex
    int16_t category;      // with kVstParameterSupportsDisplayCategory, 1-based
    int16_t numParametersInCategory;
    int16_t reserved;
    char categoryLabel[24];
    char future[16];
};

// ---- MIDI key names -------------------------------------------------------------------------
struct MidiKeyName {
    int32_t thisProgramIndex;
    int32_t thisKeyNumber;
    char keyName[64];
    int32_t reserved;
    int32_t flags;
};

// ---- layout checks (x86-64, both platforms) -------------------------------------------------
static_assert(sizeof(void*) == 8, "the VST 2 layout below is the 64-bit one");
static_assert(sizeof(intptr_t) == 8);

static_assert(sizeof(AEffect) == 192);
static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == 8);
static_assert(offsetof(AEffect, process) == 16);
static_assert(offsetof(AEffect, setParameter) == 24);
static_assert(offsetof(AEffect, getParameter) == 32);
static_assert(offsetof(AEffect, numPrograms) == 40);
static_assert(offsetof(AEffect, numParams) == 44);
static_assert(offsetof(AEffect, numInputs) == 48);
static_assert(offsetof(AEffect, numOutputs) == 52);
static_assert(offsetof(AEffect, flags) == 56);
static_assert(offsetof(AEffect, resvd1) == 64);
static_assert(offsetof(AEffect, resvd2) == 72);
static_assert(offsetof(AEffect, initialDelay) == 80);
static_assert(offsetof(AEffect, realQualities) == 84);
static_assert(offsetof(AEffect, offQualities) == 88);
static_assert(offsetof(AEffect, ioRatio) == 92);
static_assert(offsetof(AEffect, object) == 96);
static_assert(offsetof(AEffect, user) == 104);
static_assert(offsetof(AEffect, uniqueID) == 112);
static_assert(offsetof(AEffect, version) == 116);
static_assert(offsetof(AEffect, processReplacing) == 120);
static_assert(offsetof(AEffect, processDoubleReplacing) == 128);
static_assert(offsetof(AEffect, future) == 136);

static_assert(sizeof(ERect) == 8);
static_assert(offsetof(ERect, top) == 0);
static_assert(offsetof(ERect, left) == 2);
static_assert(offsetof(ERect, bottom) == 4);
static_assert(offsetof(ERect, right) == 6);

static_assert(sizeof(VstEvent) == 32);
static_assert(offsetof(VstEvent, type) == 0);
static_assert(offsetof(VstEvent, byteSize) == 4);
static_assert(offsetof(VstEvent, deltaFrames) == 8);
static_assert(offsetof(VstEvent, flags) == 12);
static_assert(offsetof(VstEvent, data) == 16);

static_assert(offsetof(VstEvents, numEvents) == 0);
static_assert(offsetof(VstEvents, reserved) == 8);
static_assert(offsetof(VstEvents, events) == 16);
static_assert(sizeof(VstEvents) == 32);

static_assert(sizeof(VstMidiEvent) == 32);
static_assert(offsetof(VstMidiEvent, type) == 0);
static_assert(offsetof(VstMidiEvent, byteSize) == 4);
static_assert(offsetof(VstMidiEvent, deltaFrames) == 8);
static_assert(offsetof(VstMidiEvent, flags) == 12);
static_assert(offsetof(VstMidiEvent, noteLength) == 16);
static_assert(offsetof(VstMidiEvent, noteOffset) == 20);
static_assert(offsetof(VstMidiEvent, midiData) == 24);
static_assert(offsetof(VstMidiEvent, detune) == 28);
static_assert(offsetof(VstMidiEvent, noteOffVelocity) == 29);
static_assert(offsetof(VstMidiEvent, reserved1) == 30);
static_assert(offsetof(VstMidiEvent, reserved2) == 31);

static_assert(sizeof(VstMidiSysexEvent) == 48);
static_assert(offsetof(VstMidiSysexEvent, type) == 0);
static_assert(offsetof(VstMidiSysexEvent, byteSize) == 4);
static_assert(offsetof(VstMidiSysexEvent, deltaFrames) == 8);
static_assert(offsetof(VstMidiSysexEvent, flags) == 12);
static_assert(offsetof(VstMidiSysexEvent, dumpBytes) == 16);
static_assert(offsetof(VstMidiSysexEvent, resvd1) == 24);
static_assert(offsetof(VstMidiSysexEvent, sysexDump) == 32);
static_assert(offsetof(VstMidiSysexEvent, resvd2) == 40);

static_assert(sizeof(VstTimeInfo) == 88);
static_assert(offsetof(VstTimeInfo, samplePos) == 0);
static_assert(offsetof(VstTimeInfo, sampleRate) == 8);
static_assert(offsetof(VstTimeInfo, nanoSeconds) == 16);
static_assert(offsetof(VstTimeInfo, ppqPos) == 24);
static_assert(offsetof(VstTimeInfo, tempo) == 32);
static_assert(offsetof(VstTimeInfo, barStartPos) == 40);
static_assert(offsetof(VstTimeInfo, cycleStartPos) == 48);
static_assert(offsetof(VstTimeInfo, cycleEndPos) == 56);
static_assert(offsetof(VstTimeInfo, timeSigNumerator) == 64);
static_assert(offsetof(VstTimeInfo, timeSigDenominator) == 68);
static_assert(offsetof(VstTimeInfo, smpteOffset) == 72);
static_assert(offsetof(VstTimeInfo, smpteFrameRate) == 76);
static_assert(offsetof(VstTimeInfo, samplesToNextClock) == 80);
static_assert(offsetof(VstTimeInfo, flags) == 84);

static_assert(sizeof(VstPinProperties) == 128);
static_assert(offsetof(VstPinProperties, label) == 0);
static_assert(offsetof(VstPinProperties, flags) == 64);
static_assert(offsetof(VstPinProperties, arrangementType) == 68);
static_assert(offsetof(VstPinProperties, shortLabel) == 72);
static_assert(offsetof(VstPinProperties, future) == 80);

static_assert(sizeof(VstSpeakerProperties) == 112);
static_assert(offsetof(VstSpeakerProperties, azimuth) == 0);
static_assert(offsetof(VstSpeakerProperties, elevation) == 4);
static_assert(offsetof(VstSpeakerProperties, radius) == 8);
static_assert(offsetof(VstSpeakerProperties, reserved) == 12);
static_assert(offsetof(VstSpeakerProperties, name) == 16);
static_assert(offsetof(VstSpeakerProperties, type) == 80);
static_assert(offsetof(VstSpeakerProperties, future) == 84);

static_assert(sizeof(VstSpeakerArrangement) == 904);
static_assert(offsetof(VstSpeakerArrangement, type) == 0);
static_assert(offsetof(VstSpeakerArrangement, numChannels) == 4);
static_assert(offsetof(VstSpeakerArrangement, speakers) == 8);

static_assert(sizeof(VstParameterProperties) == 152);
static_assert(offsetof(VstParameterProperties, stepFloat) == 0);
static_assert(offsetof(VstParameterProperties, smallStepFloat) == 4);
static_assert(offsetof(VstParameterProperties, largeStepFloat) == 8);
static_assert(offsetof(VstParameterProperties, label) == 12);
static_assert(offsetof(VstParameterProperties, flags) == 76);
static_assert(offsetof(VstParameterProperties, minInteger) == 80);
static_assert(offsetof(VstParameterProperties, maxInteger) == 84);
static_assert(offsetof(VstParameterProperties, stepInteger) == 88);
static_assert(offsetof(VstParameterProperties, largeStepInteger) == 92);
static_assert(offsetof(VstParameterProperties, shortLabel) == 96);
static_assert(offsetof(VstParameterProperties, displayIndex) == 104);
static_assert(offsetof(VstParameterProperties, category) == 106);
static_assert(offsetof(VstParameterProperties, numParametersInCategory) == 108);
static_assert(offsetof(VstParameterProperties, reserved) == 110);
static_assert(offsetof(VstParameterProperties, categoryLabel) == 112);
static_assert(offsetof(VstParameterProperties, future) == 136);

static_assert(sizeof(MidiKeyName) == 80);
static_assert(offsetof(MidiKeyName, thisProgramIndex) == 0);
static_assert(offsetof(MidiKeyName, thisKeyNumber) == 4);
static_assert(offsetof(MidiKeyName, keyName) == 8);
static_assert(offsetof(MidiKeyName, reserved) == 72);
static_assert(offsetof(MidiKeyName, flags) == 76);
