#include "clap/ClapAdapter.h"

#include <algorithm>
#include <mutex>

namespace {

ClapAdapter& Self(const clap_plugin* plugin) {
    return *ClapAdapter::From(plugin);
}

// The largest block the effect's scratch buffers are sized for; a host asking for more gets its
// blocks processed in pieces of this size by the core.
constexpr uint32_t kMaxBlock = 8192;

}  // namespace

thread_local bool ClapAdapter::tInEventCall = false;

ClapAdapter::ClapAdapter(const clap_host* host, const clap_plugin_descriptor* descriptor, int channels,
                         std::unique_ptr<IPluginCore> effect)
    : host_(host), channels_(channels), core_(std::move(effect)), editor_(*this) {
    plugin_.desc = descriptor;
    plugin_.plugin_data = this;
    plugin_.init = [](const clap_plugin* p) { return Self(p).Init(); };
    plugin_.destroy = [](const clap_plugin* p) { delete ClapAdapter::From(p); };
    plugin_.activate = [](const clap_plugin* p, double rate, uint32_t minFrames, uint32_t maxFrames) {
        return Self(p).Activate(rate, minFrames, maxFrames);
    };
    plugin_.deactivate = [](const clap_plugin* p) { Self(p).Deactivate(); };
    plugin_.start_processing = [](const clap_plugin*) { return true; };
    plugin_.stop_processing = [](const clap_plugin*) {};
    plugin_.reset = [](const clap_plugin* p) {
        EventCallScope scope;
        Self(p).ResetEffect();
    };
    plugin_.process = [](const clap_plugin* p, const clap_process* process) {
        EventCallScope scope;
        return process ? Self(p).Process(*process) : CLAP_PROCESS_ERROR;
    };
    plugin_.get_extension = [](const clap_plugin* p, const char* id) { return Self(p).Extension(id); };
    plugin_.on_main_thread = [](const clap_plugin*) {};
}

ClapAdapter::~ClapAdapter() {
    editor_.Destroy();
    // The effect and its editor go first, and tell the host nothing more on their way out.
    core_->AttachHost(nullptr);
    core_.reset();
}

ClapAdapter* ClapAdapter::From(const clap_plugin* plugin) {
    return static_cast<ClapAdapter*>(plugin->plugin_data);
}

bool ClapAdapter::Init() {
    std::lock_guard<std::recursive_mutex> guard(core_->Lock());
    IPluginCore& core = *core_;
    // Mono: the first channel of each side only, as a VST 2 host's mono arrangement leaves it.
    core.ConnectInputs(0, channels_, true);
    core.ConnectInputs(channels_, core.InputCount() - channels_, false);
    core.ConnectOutputs(0, channels_, true);
    core.ConnectOutputs(channels_, core.OutputCount() - channels_, false);
    for (int i = 0; i < core.ParameterCount(); ++i) defaults_.push_back(core.Parameter(i)->PlainValue());
    core.AttachHost(this);
    core.NotifyAllParameters();
    return true;
}

bool ClapAdapter::Activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames) {
    if (!(sampleRate > 0.0 && sampleRate <= 1.0e6) || minFrames < 1 || minFrames > maxFrames) return false;
    std::lock_guard<std::recursive_mutex> guard(core_->Lock());
    // The order a VST 2 host follows before resuming, so that both modules start alike.
    core_->SetSampleRate(sampleRate);
    core_->Reset();
    core_->SetBlockSize(static_cast<int>(std::min(maxFrames, kMaxBlock)));
    core_->Reset();
    core_->OnActivate(true);
    active_ = true;
    return true;
}

void ClapAdapter::Deactivate() {
    std::lock_guard<std::recursive_mutex> guard(core_->Lock());
    core_->OnActivate(false);
    core_->Reset();
    active_ = false;
}

void ClapAdapter::ResetEffect() {
    std::lock_guard<std::recursive_mutex> guard(core_->Lock());
    core_->Reset();
}

// ---- IPluginHost -------------------------------------------------------------------------------

void ClapAdapter::BeginEdit(int index) {
    reports_.Begin(static_cast<clap_id>(index));
    ReportsQueued();
}

void ClapAdapter::Automate(int index, double) {
    // The parameter holds the new value already; the host takes plain values.
    if (const IParameter* parameter = core_->Parameter(index)) {
        reports_.Value(static_cast<clap_id>(index), parameter->PlainValue());
        ReportsQueued();
    }
}

void ClapAdapter::EndEdit(int index) {
    reports_.End(static_cast<clap_id>(index));
    ReportsQueued();
}

void ClapAdapter::ReportsQueued() {
    // A report made inside a process or flush call (the effect's own correction while it handles
    // the events) goes out with that call; any other asks the host for a flush. The audio thread
    // never asks: the interface forbids it there.
    if (tInEventCall) return;
    if (auto* params = HostExtension<clap_host_params>(CLAP_EXT_PARAMS)) params->request_flush(host_);
}

void ClapAdapter::ProgramChanged() {
    // Every value may have changed at once: the host reads them again. From the main thread only.
    if (tInEventCall) return;
    if (auto* params = HostExtension<clap_host_params>(CLAP_EXT_PARAMS))
        params->rescan(host_, CLAP_PARAM_RESCAN_VALUES | CLAP_PARAM_RESCAN_TEXT);
    if (auto* state = HostExtension<clap_host_state>(CLAP_EXT_STATE)) state->mark_dirty(host_);
}

void ClapAdapter::LatencyChanged(int) {
    // The effect's latency is fixed at 0; a change would need a restart to reach the host.
    if (active_) host_->request_restart(host_);
}

void ClapAdapter::TimeSignature(int& numerator, int& denominator) {
    numerator = tsigNumerator_;
    denominator = tsigDenominator_;
}

bool ClapAdapter::SendMidi(const IMidiEvent& event) {
    if (!writer_) return false;
    const uint8_t data[3] = {event.status, event.data1, event.data2};
    return writer_->Midi(static_cast<uint32_t>(std::max(event.offset, 0)), data);
}

bool ClapAdapter::SendSysEx(const ISysExMessage& message) {
    if (!writer_ || message.size < 0) return false;
    return writer_->SysEx(static_cast<uint32_t>(std::max(message.offset, 0)), message.data,
                          static_cast<uint32_t>(message.size));
}
