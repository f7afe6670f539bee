// The params extension: the effect's parameters with their indices as stable ids, plain values
// in their own units, and the effect's own texts.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "clap/ClapAdapter.h"

namespace {

uint32_t Flags(ParameterKind kind) {
    switch (kind) {
        case ParameterKind::Choice:
            return CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_AUTOMATABLE | CLAP_PARAM_IS_ENUM;
        case ParameterKind::Integer:
        case ParameterKind::Toggle:
            return CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_AUTOMATABLE;
        default:
            return CLAP_PARAM_IS_AUTOMATABLE;
    }
}

void CopyText(char* out, size_t capacity, const char* text) {
    std::snprintf(out, capacity, "%s", text ? text : "");
}

}  // namespace

bool ClapAdapter::ParamInfo(uint32_t index, clap_param_info& info) const {
    const IParameter* parameter = core_->Parameter(static_cast<int>(index));
    if (!parameter || index >= defaults_.size()) return false;
    std::memset(&info, 0, sizeof info);
    info.id = index;
    info.flags = Flags(parameter->Kind());
    CopyText(info.name, sizeof info.name, parameter->Name());
    parameter->Bounds(info.min_value, info.max_value);
    info.default_value = std::fmin(std::fmax(defaults_[index], info.min_value), info.max_value);
    return true;
}

bool ClapAdapter::ParamValue(clap_id id, double& value) const {
    const IParameter* parameter = core_->Parameter(static_cast<int>(id));
    if (!parameter || id > INT32_MAX) return false;
    value = parameter->PlainValue();
    return true;
}

bool ClapAdapter::ValueToText(clap_id id, double value, char* out, uint32_t capacity) const {
    const IParameter* parameter = core_->Parameter(static_cast<int>(id));
    if (!parameter || id > INT32_MAX || !out || capacity == 0 || !std::isfinite(value)) return false;
    double min = 0.0, max = 0.0;
    parameter->Bounds(min, max);
    value = std::fmin(std::fmax(value, min), max);
    char display[IParameter::kTextBytes * 2];
    parameter->FormatForHost(value, false, display, sizeof display);
    const char* label = parameter->Label();
    // Value texts stand alone; numbers carry their unit, as the editor's knobs print them.
    if (label && *label && !parameter->ValueTextFor(static_cast<int>(value))[0]) {
        std::snprintf(out, capacity, "%s %s", display, label);
    } else {
        CopyText(out, capacity, display);
    }
    return true;
}

bool ClapAdapter::TextToValue(clap_id id, const char* text, double& value) const {
    const IParameter* parameter = core_->Parameter(static_cast<int>(id));
    if (!parameter || id > INT32_MAX || !text) return false;
    int choice = 0;
    if (parameter->ValueForText(text, choice)) {
        value = choice;
        return true;
    }
    // A number, with or without its unit; anything else is not a value of this parameter.
    char* end = nullptr;
    errno = 0;
    double number = std::strtod(text, &end);
    if (end == text || errno == ERANGE || !std::isfinite(number)) return false;
    double min = 0.0, max = 0.0;
    parameter->Bounds(min, max);
    value = std::fmin(std::fmax(parameter->ParseText(text), min), max);
    return true;
}
