// One "--param NAME=VALUE" of the command line. NAME is a parameter index or name (any case);
// VALUE is the normalised value 0..1, or "text:T" for the plug-in to read display text T
// (effString2Parameter), e.g. "Gain=text:-20".
#pragma once

#include <string>

#include "tools/vsthost/host/HostedEffect.h"

struct ParameterSetting {
    std::string target;
    bool byText = false;
    double value = 0;
    std::string text;
};

bool ParseParameterSetting(const std::string& argument, ParameterSetting& out, std::string& error);

// The parameter NAME stands for: an index in range, else the one parameter whose name matches
// (case-insensitively, surrounding spaces ignored). -1 with a reason when none or several match.
int32_t FindParameter(HostedEffect& effect, const std::string& target, std::string& error);

// Sets the parameter; report says what it became ("3 "Gain" = 0.250000 (-12.0 dB)"). Text the
// plug-in does not take (no answer and no change) fails with a reason.
bool ApplyParameterSetting(HostedEffect& effect, const ParameterSetting& setting, std::string& report,
                           std::string& error);
