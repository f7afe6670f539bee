#include "vst3/Vst3Plugin.h"

#include <mutex>

#include "vst3/Vst3View.h"

Vst3Plugin::Vst3Plugin(std::unique_ptr<IPluginCore> effect)
    : core(std::move(effect)), parameters(*core), processing(*core) {
    core->AttachHost(this);
    std::lock_guard<std::recursive_mutex> hold(core->Lock());
    processing.SetArrangement(vst3::kSpeakerArrStereo, vst3::kSpeakerArrStereo);
    core->SetBlockSize(1024);
}

Vst3Plugin::~Vst3Plugin() {
    core->AttachHost(nullptr);
    if (handler) handler->release();
}

// ---- FUnknown, IPluginBase ----------------------------------------------------------------------

vst3::tresult Vst3Plugin::queryInterface(const vst3::TUID iid, void** obj) noexcept {
    if (!obj) return vst3::kInvalidArgument;
    void* found = nullptr;
    if (vst3::FUnknown::iid.Is(iid) || vst3::IPluginBase::iid.Is(iid) || vst3::IComponent::iid.Is(iid)) {
        found = static_cast<vst3::IComponent*>(this);
    } else if (vst3::IAudioProcessor::iid.Is(iid)) {
        found = static_cast<vst3::IAudioProcessor*>(this);
    } else if (vst3::IEditController::iid.Is(iid)) {
        found = static_cast<vst3::IEditController*>(this);
    } else if (vst3::IUnitInfo::iid.Is(iid)) {
        found = static_cast<vst3::IUnitInfo*>(this);
    }
    *obj = found;
    if (!found) return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

uint32_t Vst3Plugin::addRef() noexcept {
    return ++references;
}

uint32_t Vst3Plugin::release() noexcept {
    const uint32_t left = --references;
    if (left == 0) delete this;
    return left;
}

vst3::tresult Vst3Plugin::initialize(vst3::FUnknown*) noexcept {
    // The component and the controller are this one object: a host may initialize both.
    if (initialized) return vst3::kResultOk;
    try {
        // As the VST 2 module's open: the engine learns every value.
        std::lock_guard<std::recursive_mutex> hold(core->Lock());
        core->NotifyAllParameters();
    } catch (...) {
        return vst3::kInternalError;
    }
    initialized = true;
    return vst3::kResultOk;
}

vst3::tresult Vst3Plugin::terminate() noexcept {
    if (!initialized) return vst3::kResultOk;
    initialized = false;
    setComponentHandler(nullptr);
    return vst3::kResultOk;
}

void Vst3Plugin::FlushHostRequests() {
    const int32_t flags = pendingRestart.exchange(0);
    if (flags != 0 && handler) handler->restartComponent(flags);
}

// ---- host values ------------------------------------------------------------------------------

void Vst3Plugin::SelectProgram(int index) {
    if (index == core->CurrentProgramIndex() || !core->Program(index)) return;
    core->StoreCurrentProgram(nullptr);
    core->SelectProgram(index);
    RequestRestart(vst3::kParamValuesChanged);
    valuesToReport = true;
}

void Vst3Plugin::ApplyFromHost(vst3::ParamID id, double normalized) {
    if (id == Vst3Parameters::kProgramId) {
        SelectProgram(static_cast<int>(parameters.ToPlain(id, normalized)));
        return;
    }
    const int index = parameters.IndexOf(id);
    if (index >= 0) core->ApplyParameterFromHost(index, parameters.ToPlain(id, normalized), false);
}

// ---- processing ---------------------------------------------------------------------------------

void Vst3Plugin::ReportValues() {
    vst3::IParameterChanges* out = processing.OutputChanges();
    // Read before the exchange: most blocks have nothing to report and need no locked write.
    if (!out || !valuesToReport.load(std::memory_order_relaxed) || !valuesToReport.exchange(false)) return;
    const int count = core->ParameterCount();
    for (int i = 0; i <= count; ++i) {  // the effect's parameters (IDs are indices), the program
        const auto id = i < count ? static_cast<vst3::ParamID>(i) : Vst3Parameters::kProgramId;
        int32_t at = 0;
        if (vst3::IParamValueQueue* queue = out->addParameterData(id, at))
            queue->addPoint(0, parameters.Normalized(id), at);
    }
}

vst3::tresult Vst3Plugin::process(vst3::ProcessData& data) noexcept {
    try {
        std::lock_guard<std::recursive_mutex> hold(core->Lock());
        processing.Begin(data);
        // Everything a block brings takes effect at its start, as when a VST 2 host sends the
        // values and the events before the block: parameter values first (the last point of each
        // queue), then the events.
        if (vst3::IParameterChanges* changes = data.inputParameterChanges) {
            const int32_t count = changes->getParameterCount();
            for (int32_t i = 0; i < count; ++i) {
                vst3::IParamValueQueue* queue = changes->getParameterData(i);
                int32_t offset = 0;
                double value = 0.0;
                if (!queue || queue->getPointCount() <= 0 ||
                    queue->getPoint(queue->getPointCount() - 1, offset, value) != vst3::kResultOk)
                    continue;
                ApplyFromHost(queue->getParameterId(), value);
            }
        }
        processing.DeliverEvents();
        ReportValues();
        // A flush (no samples, no buffers) applies the values and touches no audio.
        const bool ran = data.numSamples == 0 || processing.RunAudio();
        processing.End();
        return ran ? vst3::kResultOk : vst3::kResultFalse;
    } catch (...) {
        processing.End();
        return vst3::kInternalError;
    }
}
