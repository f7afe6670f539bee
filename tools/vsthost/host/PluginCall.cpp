#include "tools/vsthost/host/PluginCall.h"

#include <atomic>

#include "abi/VstAbi.h"

namespace {

// Per thread: a host's audio thread and its editor thread call into the plug-in at the same time,
// and a fault is raised on (and reported from) the thread whose call faulted. Atomic so that the
// handler, which interrupts its own thread, sees every store made before the fault.
thread_local std::atomic<const char*> currentName{nullptr};
thread_local std::atomic<int32_t> currentIndex{-1};
std::atomic<const char*> modulePath{nullptr};

}  // namespace

PluginCall::PluginCall(const char* name, int32_t index)
    : previousName(currentName.load(std::memory_order_relaxed)),
      previousIndex(currentIndex.load(std::memory_order_relaxed)) {
    currentIndex.store(index, std::memory_order_relaxed);
    currentName.store(name, std::memory_order_relaxed);
}

PluginCall::~PluginCall() {
    currentName.store(previousName, std::memory_order_relaxed);
    currentIndex.store(previousIndex, std::memory_order_relaxed);
}

const char* PluginCall::Current() {
    return currentName.load(std::memory_order_relaxed);
}

int32_t PluginCall::CurrentIndex() {
    return currentIndex.load(std::memory_order_relaxed);
}

void PluginCall::SetModule(const char* path) {
    modulePath.store(path, std::memory_order_relaxed);
}

const char* PluginCall::Module() {
    return modulePath.load(std::memory_order_relaxed);
}

const char* EffectOpcodeName(int32_t opcode) {
    static const struct {
        int32_t opcode;
        const char* name;
    } kNames[] = {
        {effOpen, "effOpen"},
        {effClose, "effClose"},
        {effSetProgram, "effSetProgram"},
        {effGetProgram, "effGetProgram"},
        {effSetProgramName, "effSetProgramName"},
        {effGetProgramName, "effGetProgramName"},
        {effGetParamLabel, "effGetParamLabel"},
        {effGetParamDisplay, "effGetParamDisplay"},
        {effGetParamName, "effGetParamName"},
        {effSetSampleRate, "effSetSampleRate"},
        {effSetBlockSize, "effSetBlockSize"},
        {effMainsChanged, "effMainsChanged"},
        {effEditGetRect, "effEditGetRect"},
        {effEditOpen, "effEditOpen"},
        {effEditClose, "effEditClose"},
        {effEditIdle, "effEditIdle"},
        {effIdentify, "effIdentify"},
        {effGetChunk, "effGetChunk"},
        {effSetChunk, "effSetChunk"},
        {effProcessEvents, "effProcessEvents"},
        {effCanBeAutomated, "effCanBeAutomated"},
        {effString2Parameter, "effString2Parameter"},
        {effGetProgramNameIndexed, "effGetProgramNameIndexed"},
        {effGetInputProperties, "effGetInputProperties"},
        {effGetOutputProperties, "effGetOutputProperties"},
        {effGetPlugCategory, "effGetPlugCategory"},
        {effProcessVarIo, "effProcessVarIo"},
        {effSetSpeakerArrangement, "effSetSpeakerArrangement"},
        {effSetBypass, "effSetBypass"},
        {effGetEffectName, "effGetEffectName"},
        {effGetVendorString, "effGetVendorString"},
        {effGetProductString, "effGetProductString"},
        {effGetVendorVersion, "effGetVendorVersion"},
        {effVendorSpecific, "effVendorSpecific"},
        {effCanDo, "effCanDo"},
        {effGetTailSize, "effGetTailSize"},
        {effIdle, "effIdle"},
        {effGetParameterProperties, "effGetParameterProperties"},
        {effGetVstVersion, "effGetVstVersion"},
        {effGetMidiKeyName, "effGetMidiKeyName"},
        {effBeginSetProgram, "effBeginSetProgram"},
        {effEndSetProgram, "effEndSetProgram"},
        {effGetSpeakerArrangement, "effGetSpeakerArrangement"},
        {effStartProcess, "effStartProcess"},
        {effStopProcess, "effStopProcess"},
        {effSetProcessPrecision, "effSetProcessPrecision"},
    };
    for (const auto& entry : kNames)
        if (entry.opcode == opcode) return entry.name;
    return "opcode";
}
