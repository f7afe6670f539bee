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

IVstPlugin::IVstPlugin(audioMasterCallback host, std::unique_ptr<IPluginCore> effect)
    : core_(std::move(effect)), host_(host) {
    IPluginCore& core = *core_;
    const PluginDescriptor::Vst2Identity& identity = core.Descriptor().vst2;
    effect_.magic = kEffectMagic;
    effect_.dispatcher = &DispatcherCallback;
    effect_.process = &ProcessCallback;
    effect_.setParameter = &SetParameterCallback;
    effect_.getParameter = &GetParameterCallback;
    effect_.numPrograms = core.ProgramCount();
    effect_.numParams = core.ParameterCount();
    effect_.numInputs = core.InputCount();
    effect_.numOutputs = core.OutputCount();
    effect_.initialDelay = core.Latency();
    effect_.ioRatio = 1.0f;
    effect_.object = this;
    effect_.uniqueID = identity.uniqueId;
    effect_.version = core.VersionDecimal();
    effect_.processReplacing = &ProcessReplacingCallback;
    effect_.processDoubleReplacing = &ProcessDoubleCallback;

    int32_t flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
    if (identity.stateChunks) flags |= effFlagsProgramChunks;
    for (int i = 0; i < core.ChannelConfigCount(); ++i) {
        if (core.ChannelConfig(i)->inputs == 1) flags |= effFlagsCanMono;
    }
    if (identity.isInstrument) flags |= effFlagsIsSynth;
    effect_.flags = flags;

    SetChannels(inputArrangement_, core.InputCount());
    SetChannels(outputArrangement_, core.OutputCount());
    core.ConnectInputs(0, core.InputCount(), true);
    core.ConnectOutputs(0, core.OutputCount(), true);
    core.SetBlockSize(1024);
    core.AttachHost(this);
    EditorChanged();
}

IVstPlugin::~IVstPlugin() {
    // The effect and its editor go first, and tell the host nothing more on their way out.
    core_->AttachHost(nullptr);
    core_.reset();
}

IVstPlugin* IVstPlugin::FromEffect(AEffect* effect) {
    return effect ? static_cast<IVstPlugin*>(effect->object) : nullptr;
}

intptr_t IVstPlugin::CallHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return host_ ? host_(&effect_, opcode, index, value, ptr, opt) : 0;
}

// ---- Parameter gestures ----------------------------------------------------------------------

void IVstPlugin::Automate(int index, double normalized) {
    CallHost(audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalized));
}

void IVstPlugin::BeginEdit(int index) {
    CallHost(audioMasterBeginEdit, index);
}

void IVstPlugin::EndEdit(int index) {
    CallHost(audioMasterEndEdit, index);
}

void IVstPlugin::ProgramChanged() {
    CallHost(audioMasterUpdateDisplay);
}

void IVstPlugin::AskForMidi() {
    if (core_->Descriptor().vst2.doesMidi != 0) CallHost(audioMasterWantMidi);
}

// ---- Time --------------------------------------------------------------------------------------

const VstTimeInfo* IVstPlugin::HostTime(int32_t flags) {
    return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, flags));
}

int64_t IVstPlugin::SamplePosition() {
    const VstTimeInfo* time = HostTime(0);
    // The upper bound keeps the conversion defined for absurd positions.
    if (!time || !(time->samplePos >= 0.0) || time->samplePos >= 9.0e18) return 0;
    return static_cast<int64_t>(time->samplePos + 0.5);
}

double IVstPlugin::Tempo() {
    const VstTimeInfo* time = HostTime(kVstTempoValid);
    if (!time || !(time->flags & kVstTempoValid) || !(time->tempo >= 0.0)) return 0.0;
    return time->tempo;
}

void IVstPlugin::TimeSignature(int& numerator, int& denominator) {
    numerator = denominator = 0;
    const VstTimeInfo* time = HostTime(kVstTimeSigValid);
    if (!time || !(time->flags & kVstTimeSigValid)) return;
    if (time->timeSigNumerator < 0 || time->timeSigDenominator < 0) return;
    numerator = time->timeSigNumerator;
    denominator = time->timeSigDenominator;
}

// ---- Host identification ---------------------------------------------------------------------

HostId IVstPlugin::Product() {
    // The editor window asks from the UI thread without the lock.
    std::lock_guard<std::recursive_mutex> guard(Lock());
    if (hostKind_ != HostId::NotAsked) return hostKind_;
    char name[kHostProductBytes] = {};
    CallHost(audioMasterGetProductString, 0, 0, name);
    name[kHostProductBytes - 1] = '\0';
    int32_t version = 0;
    if (name[0] != '\0') version = PackedHostVersion(CallHost(audioMasterGetVendorVersion));
    hostKind_ = HostIdFromProductName(name, kHostProductBytes);
    hostVersion_ = version;
    return hostKind_;
}

void IVstPlugin::AdjustForHost() {
    if (hostAdjusted_) return;
    hostAdjusted_ = true;
    IPluginCore& core = *core_;
    const HostId host = Product();
    if (host == HostId::Forte || host == HostId::Audition || host == HostId::Orion ||
        host == HostId::SawStudio) {
        core.ConnectInputs(2, core.InputCount(), false);
        if (core.OutputCount() >= 3) core.ConnectOutputs(2, core.OutputCount(), true);
    }
    SyncChannelCounts();
}

void IVstPlugin::SyncChannelCounts() {
    effect_.numInputs = core_->InputCount();
    effect_.numOutputs = core_->OutputCount();
    inputArrangement_.numChannels = core_->InputCount();
    outputArrangement_.numChannels = core_->OutputCount();
}

// ---- Latency --------------------------------------------------------------------------------

void IVstPlugin::LatencyChanged(int samples) {
    effect_.initialDelay = samples;
}

// ---- Editor ------------------------------------------------------------------------------------

void IVstPlugin::EditorChanged() {
    const IEditorLink* editor = core_->Editor();
    if (editor == nullptr) return;
    effect_.flags |= effFlagsHasEditor;
    // The record's rectangle holds 16-bit coordinates; larger sizes are cut, as the host reads them.
    editorRect_.top = 0;
    editorRect_.left = 0;
    editorRect_.bottom = static_cast<int16_t>(editor->Height());
    editorRect_.right = static_cast<int16_t>(editor->Width());
}

// ---- Outgoing MIDI -----------------------------------------------------------------------------

bool IVstPlugin::SendMidi(const IMidiEvent& event) {
    return CallHost(audioMasterProcessEvents, 0, 0, outgoing_.Midi(event)) == 1;
}

bool IVstPlugin::SendSysEx(const ISysExMessage& message) {
    if (message.size < 0 || (message.size > 0 && !message.data)) return false;
    return CallHost(audioMasterProcessEvents, 0, 0, outgoing_.SysEx(message)) == 1;
}
