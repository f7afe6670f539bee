#include "vst/IVstPlugin.h"

#include <memory>
#include <mutex>
#include <utility>

#include "vst/HostTable.h"

namespace {

int32_t ArrangementType(int channels) {
    switch (channels) {
        case 0:
            return kSpeakerArrEmpty;
        case 1:
            return kSpeakerArrMono;
        case 2:
            return kSpeakerArrStereo;
        default:
            return kSpeakerArrUserDefined;
    }
}

void SetChannels(VstSpeakerArrangement& arrangement, int channels) {
    arrangement.numChannels = channels;
    arrangement.type = ArrangementType(channels);
}

// The product-name buffer handed to the host; the host writes at most this many bytes.
constexpr int kHostProductBytes = 256;

}  // namespace

IVstPlugin::IVstPlugin(audioMasterCallback host, int nParams, const char* channelConfigs, int nPrograms,
                       const char* effectName, const char* productName, const char* makerName,
                       int32_t version, int32_t uniqueId, int32_t makerId, int32_t latency, int32_t doesMidi,
                       bool stateChunks, bool isInstrument)
    : IPluginCore(nParams, channelConfigs, nPrograms, effectName, productName, makerName, version, uniqueId,
                  makerId, latency, doesMidi, stateChunks, isInstrument),
      host_(host) {
    effect_.magic = kEffectMagic;
    effect_.dispatcher = &DispatcherCallback;
    effect_.process = &ProcessCallback;
    effect_.setParameter = &SetParameterCallback;
    effect_.getParameter = &GetParameterCallback;
    effect_.numPrograms = ProgramCount();
    effect_.numParams = ParameterCount();
    effect_.numInputs = InputCount();
    effect_.numOutputs = OutputCount();
    effect_.initialDelay = latency;
    effect_.ioRatio = 1.0f;
    effect_.object = this;
    effect_.uniqueID = uniqueId;
    effect_.version = VersionDecimal();
    effect_.processReplacing = &ProcessReplacingCallback;
    effect_.processDoubleReplacing = &ProcessDoubleCallback;

    int32_t flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
    if (stateChunks) flags |= effFlagsProgramChunks;
    for (int i = 0; i < ChannelConfigCount(); ++i) {
        if (ChannelConfig(i)->inputs == 1) flags |= effFlagsCanMono;
    }
    if (isInstrument) flags |= effFlagsIsSynth;
    effect_.flags = flags;

    SetChannels(inputArrangement_, InputCount());
    SetChannels(outputArrangement_, OutputCount());
    ConnectInputs(0, InputCount(), true);
    ConnectOutputs(0, OutputCount(), true);
    SetBlockSize(1024);
}

IVstPlugin::~IVstPlugin() = default;

IVstPlugin* IVstPlugin::FromEffect(AEffect* effect) {
    return effect ? static_cast<IVstPlugin*>(effect->object) : nullptr;
}

intptr_t IVstPlugin::CallHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return host_ ? host_(&effect_, opcode, index, value, ptr, opt) : 0;
}

// ---- Parameter gestures ----------------------------------------------------------------------

void IVstPlugin::HostAutomate(int index, double normalized) {
    CallHost(audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalized));
}

void IVstPlugin::HostBeginEdit(int index) {
    FlushPendingEndEdit();
    CallHost(audioMasterBeginEdit, index);
}

void IVstPlugin::HostBeginEditOnce(int index) {
    std::lock_guard<std::recursive_mutex> guard(Lock());
    if (index == PendingEndEdit()) return;
    FlushPendingEndEdit();
    CallHost(audioMasterBeginEdit, index);
}

void IVstPlugin::HostBeginNestedEdit(int index) {
    CallHost(audioMasterBeginEdit, index);
}

void IVstPlugin::HostEndEdit(int index) {
    CallHost(audioMasterEndEdit, index);
}

void IVstPlugin::HostProgramChanged() {
    CallHost(audioMasterUpdateDisplay);
}

void IVstPlugin::AskForMidi() {
    if (DoesMidi() != 0) CallHost(audioMasterWantMidi);
}

// ---- Time --------------------------------------------------------------------------------------

const VstTimeInfo* IVstPlugin::HostTime(int32_t flags) {
    return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, flags));
}

int64_t IVstPlugin::HostSamplePosition() {
    const VstTimeInfo* time = HostTime(0);
    // The upper bound keeps the conversion defined for absurd positions.
    if (!time || !(time->samplePos >= 0.0) || time->samplePos >= 9.0e18) return 0;
    return static_cast<int64_t>(time->samplePos + 0.5);
}

double IVstPlugin::HostTempo() {
    const VstTimeInfo* time = HostTime(kVstTempoValid);
    if (!time || !(time->flags & kVstTempoValid) || !(time->tempo >= 0.0)) return 0.0;
    return time->tempo;
}

void IVstPlugin::HostTimeSignature(int& numerator, int& denominator) {
    numerator = denominator = 0;
    const VstTimeInfo* time = HostTime(kVstTimeSigValid);
    if (!time || !(time->flags & kVstTimeSigValid)) return;
    if (time->timeSigNumerator < 0 || time->timeSigDenominator < 0) return;
    numerator = time->timeSigNumerator;
    denominator = time->timeSigDenominator;
}

// ---- Host identification ---------------------------------------------------------------------

HostId IVstPlugin::HostKind() {
    // The editor window asks from the UI thread without the lock.
    std::lock_guard<std::recursive_mutex> guard(Lock());
    if (Host() != HostId::NotAsked) return Host();
    char name[kHostProductBytes] = {};
    CallHost(audioMasterGetProductString, 0, 0, name);
    name[kHostProductBytes - 1] = '\0';
    int32_t version = 0;
    if (name[0] != '\0') version = PackedHostVersion(CallHost(audioMasterGetVendorVersion));
    const HostId id = HostIdFromProductName(name, kHostProductBytes);
    SetHost(id, version);
    return id;
}

void IVstPlugin::AdjustForHost() {
    if (hostAdjusted_) return;
    hostAdjusted_ = true;
    const HostId host = HostKind();
    if (host == HostId::Forte || host == HostId::Audition || host == HostId::Orion ||
        host == HostId::SawStudio) {
        ConnectInputs(2, InputCount(), false);
        if (OutputCount() >= 3) ConnectOutputs(2, OutputCount(), true);
    }
    SyncChannelCounts();
}

void IVstPlugin::SyncChannelCounts() {
    effect_.numInputs = InputCount();
    effect_.numOutputs = OutputCount();
    inputArrangement_.numChannels = InputCount();
    outputArrangement_.numChannels = OutputCount();
}

// ---- Latency --------------------------------------------------------------------------------

void IVstPlugin::SetLatency(int samples) {
    IPluginCore::SetLatency(samples);
    effect_.initialDelay = samples;
}

// ---- Editor ------------------------------------------------------------------------------------

void IVstPlugin::AttachEditor(std::unique_ptr<IEditorLink> editor) {
    if (editor == nullptr) return;
    std::lock_guard<std::recursive_mutex> hold(Lock());
    IPluginCore::AttachEditor(std::move(editor));
    effect_.flags |= effFlagsHasEditor;
    SetEditorRectFromEditor();
}

void IVstPlugin::EditorSizeChanged() {
    std::lock_guard<std::recursive_mutex> guard(Lock());
    if (Editor()) SetEditorRectFromEditor();
}

void IVstPlugin::SetEditorRectFromEditor() {
    // The record's rectangle holds 16-bit coordinates; larger sizes are cut, as the host reads them.
    editorRect_.top = 0;
    editorRect_.left = 0;
    editorRect_.bottom = static_cast<int16_t>(Editor()->Height());
    editorRect_.right = static_cast<int16_t>(Editor()->Width());
}

// ---- Outgoing MIDI -----------------------------------------------------------------------------

bool IVstPlugin::SendMidiEvent(const IMidiEvent& event) {
    return CallHost(audioMasterProcessEvents, 0, 0, outgoing_.Midi(event)) == 1;
}

bool IVstPlugin::SendSysEx(const ISysExMessage& message) {
    if (message.size < 0 || (message.size > 0 && !message.data)) return false;
    return CallHost(audioMasterProcessEvents, 0, 0, outgoing_.SysEx(message)) == 1;
}
