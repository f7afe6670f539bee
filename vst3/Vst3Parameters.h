// The effect's parameters as VST 3 sees them: the core's parameters under their indices as IDs,
// then a program-change parameter, with the interface's discrete-value rule (normalized =
// index / stepCount) for every parameter that is not continuous. Conversions and texts only;
// values are read from and written to the core by the plug-in object.
#pragma once

#include <string>
#include <vector>

#include "abi/Vst3Controller.h"
#include "plugbase/IPluginCore.h"

class Vst3Parameters {
  public:
    // Far from the effect's own indices, so that parameters added later keep their IDs.
    static constexpr vst3::ParamID kProgramId = 1000;

    // Records each parameter's current value as its default: call on a freshly built core.
    explicit Vst3Parameters(IPluginCore& core);

    int32_t Count() const { return core.ParameterCount() + 1; }
    bool Info(int32_t index, vst3::ParameterInfo& info) const;
    // The core's index of an ID, -1 for the program parameter or an unknown ID.
    int IndexOf(vst3::ParamID id) const;
    bool Known(vst3::ParamID id) const { return id == kProgramId || IndexOf(id) >= 0; }

    // Plain values: the parameter's own units; the program parameter's plain value is the program
    // number. NaN and values outside 0..1 are clamped.
    double ToPlain(vst3::ParamID id, double normalized) const;
    double ToNormalized(vst3::ParamID id, double plain) const;
    // The current value, read without the lock.
    double Normalized(vst3::ParamID id) const;
    // Display and parsing through the core's texts (program names for the program parameter).
    std::string Text(vst3::ParamID id, double normalized) const;
    bool Parse(vst3::ParamID id, const std::string& text, double& normalized) const;

  private:
    // Number of steps between min and max for a discrete parameter, 0 for a continuous one.
    int32_t Steps(const IParameter& p) const;

    IPluginCore& core;
    std::vector<double> defaults;  // normalized, per core index
};
