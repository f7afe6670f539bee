// The core's notifications, as VST 3 carries them: edits through the component handler on the UI
// thread; during process, values as output parameter changes and everything else deferred.
#include "vst3/Vst3Plugin.h"

bool Vst3Plugin::EditsReachHandler() const {
    return handler && !processing.InBlock() && !hostChange;
}

void Vst3Plugin::BeginEdit(int index) {
    if (EditsReachHandler()) handler->beginEdit(static_cast<vst3::ParamID>(index));
}

void Vst3Plugin::Automate(int index, double) {
    // The value as the interface's discrete rule gives it, not the core's own scale.
    const auto id = static_cast<vst3::ParamID>(index);
    const double normalized = parameters.Normalized(id);
    if (processing.InBlock()) {
        int32_t at = 0;
        if (vst3::IParameterChanges* out = processing.OutputChanges()) {
            if (vst3::IParamValueQueue* queue = out->addParameterData(id, at))
                queue->addPoint(0, normalized, at);
        }
        return;
    }
    if (hostChange) {
        // The effect corrected a value while the host was setting another or loading a state:
        // the host reads every value again rather than taking an edit it did not make.
        RequestRestart(vst3::kParamValuesChanged);
    } else if (handler) {
        handler->performEdit(id, normalized);
    }
}

void Vst3Plugin::EndEdit(int index) {
    if (EditsReachHandler()) handler->endEdit(static_cast<vst3::ParamID>(index));
}

void Vst3Plugin::ProgramChanged() {
    RequestRestart(vst3::kParamValuesChanged);
}

void Vst3Plugin::LatencyChanged(int) {
    RequestRestart(vst3::kLatencyChanged);
}

// The effect does not follow the transport.
int64_t Vst3Plugin::SamplePosition() {
    return 0;
}

double Vst3Plugin::Tempo() {
    return 0.0;
}

void Vst3Plugin::TimeSignature(int& numerator, int& denominator) {
    numerator = denominator = 0;
}

bool Vst3Plugin::SendMidi(const IMidiEvent& event) {
    return processing.SendMidi(event);
}

bool Vst3Plugin::SendSysEx(const ISysExMessage&) {
    return false;  // no system-exclusive output
}
