#include "tools/vsthost/render/ParameterSetting.h"

#include <cctype>
#include <cstdio>

#include "tools/vsthost/cli/CommandLine.h"

namespace {

std::string Normalised(const std::string& text) {
    size_t first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
    std::string out = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

bool ParseParameterSetting(const std::string& argument, ParameterSetting& out, std::string& error) {
    const std::string textMark = "=text:";
    size_t text = argument.find(textMark);
    size_t eq = text != std::string::npos ? text : argument.rfind('=');
    out = ParameterSetting{};
    if (eq == std::string::npos || eq == 0) {
        error = "invalid parameter setting '" + argument + "': expected NAME=VALUE (NAME an index or a name)";
        return false;
    }
    out.target = argument.substr(0, eq);
    if (text != std::string::npos) {
        out.byText = true;
        out.text = argument.substr(eq + textMark.size());
        return true;
    }
    if (!ParseDouble(argument.substr(eq + 1), out.value) || out.value < 0 || out.value > 1) {
        error = "invalid parameter setting '" + argument +
                "': VALUE is a normalised value in 0..1, or text:DISPLAY for the plug-in to read";
        return false;
    }
    return true;
}

int32_t FindParameter(HostedEffect& fx, const std::string& target, std::string& error) {
    long index = 0;
    if (ParseLong(target, index)) {
        if (index >= 0 && index < fx.NumParams()) return static_cast<int32_t>(index);
        error = "parameter " + target + " does not exist (the plug-in has " + std::to_string(fx.NumParams()) +
                ")";
        return -1;
    }
    std::string wanted = Normalised(target);
    int32_t found = -1, matches = 0;
    for (int32_t i = 0; i < fx.NumParams(); ++i) {
        if (Normalised(fx.ParameterName(i)) != wanted) continue;
        if (matches++ == 0) found = i;
    }
    if (matches == 1) return found;
    error = matches == 0 ? "the plug-in has no parameter named '" + target + "' (vsthost info lists them)"
                         : std::to_string(matches) + " parameters are named '" + target + "'; give the index";
    return -1;
}

bool ApplyParameterSetting(HostedEffect& fx, const ParameterSetting& setting, std::string& report,
                           std::string& error) {
    int32_t index = FindParameter(fx, setting.target, error);
    if (index < 0) return false;
    if (setting.byText) {
        float before = fx.GetParameter(index);
        std::vector<char> text(setting.text.begin(), setting.text.end());
        text.push_back('\0');
        intptr_t answer = fx.Dispatch(effString2Parameter, index, 0, text.data());
        // Like effSetChunk, the answer is unreliable: a change of value counts as taken.
        if (answer == 0 && fx.GetParameter(index) == before && fx.ParameterDisplay(index) != setting.text) {
            error = "the plug-in did not take the text '" + setting.text + "' for parameter " +
                    std::to_string(index) + " \"" + fx.ParameterName(index) +
                    "\" (it may not support effString2Parameter; give a normalised value)";
            return false;
        }
    } else {
        fx.SetParameter(index, static_cast<float>(setting.value));
    }
    char value[32];
    std::snprintf(value, sizeof value, "%.6f", fx.GetParameter(index));
    report = std::to_string(index) + " \"" + fx.ParameterName(index) + "\" = " + value + " (" +
             fx.ParameterDisplay(index) + ")";
    return true;
}
