// vsthost info MODULE: everything a host can learn about an effect without processing audio.
#include <cstdio>

#include "tools/vsthost/Commands.h"
#include "tools/vsthost/PluginSession.h"

namespace {

// The capability texts a host commonly asks a plug-in about.
constexpr const char* kPluginCanDo[] = {
    "sendVstEvents",      "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent",
    "receiveVstTimeInfo", "offline",          "midiProgramNames", "bypass",
};

const char* CanDoAnswer(intptr_t answer) {
    return answer > 0 ? "yes" : answer < 0 ? "no" : "don't know";
}

const char* CategoryName(intptr_t category) {
    switch (category) {
        case kPlugCategEffect:
            return "effect";
        case kPlugCategSynth:
            return "instrument";
        case kPlugCategUnknown:
            return "unknown";
        default:
            return "other";
    }
}

// What effGetParameterProperties tells, as " switch", " steps 0..4 by 1" or " step 1"; empty
// when the plug-in gives nothing.
std::string DescribeParameterProperties(HostedEffect& fx, int32_t index) {
    VstParameterProperties p;
    if (!fx.ParameterProperties(index, p)) return "";
    std::string text;
    char part[96];
    if (p.flags & kVstParameterIsSwitch) text += " switch";
    if (p.flags & kVstParameterUsesIntegerMinMax) {
        std::snprintf(part, sizeof part, " steps %d..%d", p.minInteger, p.maxInteger);
        text += part;
    }
    if (p.flags & kVstParameterUsesIntStep) {
        std::snprintf(part, sizeof part, "%s %d (large %d)", text.empty() ? " step" : " by", p.stepInteger,
                      p.largeStepInteger);
        text += part;
    }
    if (p.flags & kVstParameterUsesFloatStep) {
        std::snprintf(part, sizeof part, ", normalised %g", static_cast<double>(p.stepFloat));
        text += part;
    }
    return text.empty() ? " properties (none flagged)" : text;
}

}  // namespace

std::string DescribeFourCharCode(int32_t id) {
    uint32_t u = static_cast<uint32_t>(id);
    char chars[5];
    for (int i = 0; i < 4; ++i) {
        char c = static_cast<char>((u >> (24 - 8 * i)) & 0xFF);
        chars[i] = (c >= 0x20 && c < 0x7F) ? c : '.';
    }
    chars[4] = '\0';
    char text[64];
    std::snprintf(text, sizeof text, "%d (0x%08X, '%s')", id, u, chars);
    return text;
}

std::string DescribeEffectFlags(int32_t flags) {
    static const struct {
        int32_t bit;
        const char* name;
    } kNames[] = {{effFlagsHasEditor, "HasEditor"},
                  {effFlagsCanMono, "CanMono"},
                  {effFlagsCanReplacing, "CanReplacing"},
                  {effFlagsProgramChunks, "ProgramChunks"},
                  {effFlagsIsSynth, "IsSynth"},
                  {effFlagsNoSoundInStop, "NoSoundInStop"},
                  {effFlagsCanDoubleReplacing, "CanDoubleReplacing"}};
    std::string text;
    int32_t known = 0;
    for (const auto& entry : kNames) {
        known |= entry.bit;
        if (flags & entry.bit) text += (text.empty() ? "" : " ") + std::string(entry.name);
    }
    if (int32_t other = flags & ~known) {
        char hex[32];
        std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(other));
        text += (text.empty() ? "other " : " other ") + std::string(hex);
    }
    return text.empty() ? "none" : text;
}

int RunInfo(ArgReader& args) {
    std::string path;
    while (!args.Done()) {
        const std::string& arg = args.Next();
        if (!arg.empty() && arg[0] == '-') return UsageError("unknown option '" + arg + "' for info");
        if (!path.empty()) return UsageError("info takes one module, not '" + arg + "' as well");
        path = arg;
    }
    if (path.empty()) return UsageError("info needs a MODULE");

    PluginSession session;
    std::string error;
    if (!session.Start(path, 44100.0, 512, error)) return Fail(error);
    HostedEffect& fx = session.Effect();
    AEffect* record = fx.Record();

    std::printf("Module:          %s (entry point %s)\n", path.c_str(), session.Module().EntryName().c_str());
    std::printf("Effect name:     %s\n", fx.Text(effGetEffectName).c_str());
    std::printf("Product:         %s\n", fx.Text(effGetProductString).c_str());
    std::printf("Vendor:          %s\n", fx.Text(effGetVendorString).c_str());
    std::printf("Vendor version:  %ld\n", static_cast<long>(fx.Dispatch(effGetVendorVersion)));
    std::printf("Unique ID:       %s\n", DescribeFourCharCode(record->uniqueID).c_str());
    std::printf("Version:         %d\n", record->version);
    std::printf("VST version:     %ld\n", static_cast<long>(fx.Dispatch(effGetVstVersion)));
    intptr_t category = fx.Dispatch(effGetPlugCategory);
    std::printf("Category:        %ld (%s)\n", static_cast<long>(category), CategoryName(category));
    std::printf("Flags:           0x%08X %s\n", static_cast<unsigned>(record->flags),
                DescribeEffectFlags(record->flags).c_str());
    std::printf("Inputs:          %d\n", record->numInputs);
    std::printf("Outputs:         %d\n", record->numOutputs);
    std::printf("Initial delay:   %d\n", record->initialDelay);
    ERect* rect = nullptr;
    if (fx.Dispatch(effEditGetRect, 0, 0, &rect) && rect)
        std::printf("Editor:          %d x %d\n", rect->right - rect->left, rect->bottom - rect->top);

    std::printf("Parameters:      %d\n", fx.NumParams());
    for (int32_t i = 0; i < fx.NumParams(); ++i) {
        std::string name = fx.ParameterName(i), label = fx.ParameterLabel(i),
                    display = fx.ParameterDisplay(i);
        std::printf("  %3d  %-24s display %-12s label %-8s value %.6f%s\n", i, ("\"" + name + "\"").c_str(),
                    ("\"" + display + "\"").c_str(), ("\"" + label + "\"").c_str(), fx.GetParameter(i),
                    DescribeParameterProperties(fx, i).c_str());
    }
    std::printf("Programs:        %d (current %d)\n", fx.NumPrograms(), fx.Program());
    for (int32_t i = 0; i < fx.NumPrograms(); ++i)
        std::printf("  %3d  \"%s\"\n", i, fx.ProgramNameIndexed(i).c_str());
    std::printf("Can do:\n");
    for (const char* text : kPluginCanDo) std::printf("  %-22s %s\n", text, CanDoAnswer(fx.CanDo(text)));
    return kExitOk;
}
