#include "vst3/Vst3Parameters.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "vst3/Vst3Text.h"

namespace {

double Clamp01(double x) {
    return x >= 0.0 ? std::min(x, 1.0) : 0.0;  // NaN gives 0
}

// The interface's discrete rule: index = min(steps, floor(normalized * (steps + 1))).
int32_t StepIndex(double normalized, int32_t steps) {
    const double scaled = std::floor(Clamp01(normalized) * (steps + 1));
    return std::min(steps, static_cast<int32_t>(scaled));
}

}  // namespace

Vst3Parameters::Vst3Parameters(IPluginCore& core) : core(core) {
    for (int i = 0; i < core.ParameterCount(); ++i)
        defaults.push_back(Normalized(static_cast<vst3::ParamID>(i)));
}

int Vst3Parameters::IndexOf(vst3::ParamID id) const {
    return id < static_cast<vst3::ParamID>(core.ParameterCount()) ? static_cast<int>(id) : -1;
}

int32_t Vst3Parameters::Steps(const IParameter& p) const {
    if (p.Kind() == ParameterKind::Continuous || !(p.Step() > 0.0)) return 0;
    return static_cast<int32_t>(std::lround((p.Max() - p.Min()) / p.Step()));
}

bool Vst3Parameters::Info(int32_t index, vst3::ParameterInfo& info) const {
    if (index < 0 || index >= Count()) return false;
    info = vst3::ParameterInfo{};
    info.unitId = vst3::kRootUnitId;
    if (index == core.ParameterCount()) {
        info.id = kProgramId;
        vst3text::ToUtf16("Program", info.title, 128);
        vst3text::ToUtf16("Program", info.shortTitle, 128);
        info.stepCount = std::max(core.ProgramCount() - 1, 0);
        // Not automatable: a program change moves automatable parameters.
        info.flags = vst3::kIsProgramChange | vst3::kIsList;
        return true;
    }
    const IParameter& p = *core.Parameter(index);
    info.id = static_cast<vst3::ParamID>(index);
    vst3text::ToUtf16(p.Name(), info.title, 128);
    vst3text::ToUtf16(p.Name(), info.shortTitle, 128);
    vst3text::ToUtf16(p.Label(), info.units, 128);
    info.stepCount = Steps(p);
    info.defaultNormalizedValue = defaults[static_cast<size_t>(index)];
    info.flags = vst3::kCanAutomate;
    if (p.Kind() == ParameterKind::Choice || p.ValueTextCount() > 0) info.flags |= vst3::kIsList;
    return true;
}

double Vst3Parameters::ToPlain(vst3::ParamID id, double normalized) const {
    if (id == kProgramId) return StepIndex(normalized, std::max(core.ProgramCount() - 1, 0));
    const int index = IndexOf(id);
    if (index < 0) return 0.0;
    const IParameter& p = *core.Parameter(index);
    const int32_t steps = Steps(p);
    if (steps > 0) return p.Min() + StepIndex(normalized, steps) * p.Step();
    return p.Min() + std::pow(Clamp01(normalized), p.Shape()) * (p.Max() - p.Min());
}

double Vst3Parameters::ToNormalized(vst3::ParamID id, double plain) const {
    if (id == kProgramId) {
        const int32_t last = core.ProgramCount() - 1;
        if (last <= 0 || std::isnan(plain)) return 0.0;
        return std::clamp(std::round(plain), 0.0, static_cast<double>(last)) / last;
    }
    const int index = IndexOf(id);
    if (index < 0) return 0.0;
    const IParameter& p = *core.Parameter(index);
    const int32_t steps = Steps(p);
    if (steps == 0) return p.ToNormalized(plain);
    if (std::isnan(plain)) return 0.0;
    const double step = std::round((std::clamp(plain, p.Min(), p.Max()) - p.Min()) / p.Step());
    return step / steps;
}

double Vst3Parameters::Normalized(vst3::ParamID id) const {
    if (id == kProgramId) return ToNormalized(id, core.CurrentProgramIndex());
    const int index = IndexOf(id);
    return index < 0 ? 0.0 : ToNormalized(id, core.Parameter(index)->PlainValue());
}

std::string Vst3Parameters::Text(vst3::ParamID id, double normalized) const {
    if (id == kProgramId) return core.ProgramName(static_cast<int>(ToPlain(id, normalized)));
    const int index = IndexOf(id);
    if (index < 0) return "";
    char text[IParameter::kTextBytes] = {};
    core.Parameter(index)->FormatForHost(ToPlain(id, normalized), false, text, sizeof text);
    return text;
}

bool Vst3Parameters::Parse(vst3::ParamID id, const std::string& text, double& normalized) const {
    if (id == kProgramId) {
        for (int i = 0; i < core.ProgramCount(); ++i) {
            if (text == core.ProgramName(i)) {
                normalized = ToNormalized(id, i);
                return true;
            }
        }
        char* end = nullptr;
        const long number = std::strtol(text.c_str(), &end, 10);
        if (end == text.c_str()) return false;
        normalized = ToNormalized(id, static_cast<double>(number));
        return true;
    }
    const int index = IndexOf(id);
    if (index < 0) return false;
    normalized = ToNormalized(id, core.Parameter(index)->ParseText(text.c_str()));
    return true;
}
