// vsthost info MODULE: everything a host can learn about an effect without processing audio, as
// text or as JSON.
#include <cstdio>

#include "tools/vsthost/Commands.h"
#include "tools/vsthost/cli/OptionTable.h"
#include "tools/vsthost/host/EffectText.h"
#include "tools/vsthost/formats/JsonWriter.h"
#include "tools/vsthost/system/Platform.h"
#include "tools/vsthost/host/PluginSession.h"

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

struct InfoOptions {
    std::string module;
    bool editor = false, json = false;
};

struct ParameterInfo {
    std::string name, label, display;
    float value = 0;
    intptr_t automatable = 0;
    bool hasProperties = false;
    VstParameterProperties properties{};
};

// What effGetParameterProperties tells, as " switch", " steps 0..4 by 1" or " step 1"; empty
// when the plug-in gives nothing.
std::string DescribeParameterProperties(const ParameterInfo& info) {
    if (!info.hasProperties) return "";
    const VstParameterProperties& p = info.properties;
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

struct CanDoInfo {
    const char* text;
    intptr_t answer;
};

// What info reports, gathered once and then printed as text or JSON.
struct EffectInfo {
    std::string path, entry, effectName, product, vendor;
    int64_t vendorVersion = 0, vstVersion = 0, category = 0, tailSize = 0;
    int32_t uniqueID = 0, version = 0, flags = 0, inputs = 0, outputs = 0;
    int32_t delayBefore = 0, delayProcessing = 0;
    bool editorAsked = false, editorRect = false;
    std::string editorMissing;
    int32_t editorWidth = 0, editorHeight = 0;
    std::vector<ParameterInfo> parameters;
    int32_t currentProgram = 0;
    std::vector<std::string> programs;
    std::vector<CanDoInfo> canDo;
};

void QueryEditor(HostedEffect& fx, EffectInfo& info) {
    info.editorAsked = true;
    if (!(fx.Flags() & effFlagsHasEditor)) {
        info.editorMissing = "the plug-in has no editor";
        return;
    }
    if (!DisplayAvailable(info.editorMissing)) return;
    ERect* rect = nullptr;
    if (fx.Dispatch(effEditGetRect, 0, 0, &rect) && rect) {
        info.editorRect = true;
        info.editorWidth = rect->right - rect->left;
        info.editorHeight = rect->bottom - rect->top;
    } else {
        info.editorMissing = "the plug-in gave no editor size";
    }
}

EffectInfo Gather(PluginSession& session, const InfoOptions& o) {
    HostedEffect& fx = session.Effect();
    AEffect* record = fx.Record();
    EffectInfo info;
    info.path = o.module;
    info.entry = session.Module().EntryName();
    info.effectName = fx.Text(effGetEffectName);
    info.product = fx.Text(effGetProductString);
    info.vendor = fx.Text(effGetVendorString);
    info.vendorVersion = fx.Dispatch(effGetVendorVersion);
    info.uniqueID = record->uniqueID;
    info.version = record->version;
    info.vstVersion = fx.Dispatch(effGetVstVersion);
    info.category = fx.Dispatch(effGetPlugCategory);
    info.flags = record->flags;
    info.inputs = record->numInputs;
    info.outputs = record->numOutputs;
    // Many plug-ins know their latency only once processing is set up.
    info.delayBefore = record->initialDelay;
    fx.Resume();
    info.delayProcessing = record->initialDelay;
    info.tailSize = fx.Dispatch(effGetTailSize);
    fx.Suspend();
    if (o.editor) QueryEditor(fx, info);
    for (int32_t i = 0; i < fx.NumParams(); ++i) {
        ParameterInfo p;
        p.name = fx.ParameterName(i);
        p.label = fx.ParameterLabel(i);
        p.display = fx.ParameterDisplay(i);
        p.value = fx.GetParameter(i);
        p.automatable = fx.Dispatch(effCanBeAutomated, i);
        p.hasProperties = fx.ParameterProperties(i, p.properties);
        info.parameters.push_back(p);
    }
    info.currentProgram = fx.Program();
    for (int32_t i = 0; i < fx.NumPrograms(); ++i) info.programs.push_back(fx.ProgramNameIndexed(i));
    for (const char* text : kPluginCanDo) info.canDo.push_back({text, fx.CanDo(text)});
    return info;
}

void PrintText(const EffectInfo& info) {
    std::printf("Module:          %s (entry point %s)\n", info.path.c_str(), info.entry.c_str());
    std::printf("Effect name:     %s\n", info.effectName.c_str());
    std::printf("Product:         %s\n", info.product.c_str());
    std::printf("Vendor:          %s\n", info.vendor.c_str());
    std::printf("Vendor version:  %lld\n", static_cast<long long>(info.vendorVersion));
    std::printf("Unique ID:       %s\n", DescribeFourCharCode(info.uniqueID).c_str());
    std::printf("Version:         %d\n", info.version);
    std::printf("VST version:     %lld\n", static_cast<long long>(info.vstVersion));
    std::printf("Category:        %lld (%s)\n", static_cast<long long>(info.category),
                CategoryName(info.category));
    std::printf("Flags:           0x%08X %s\n", static_cast<unsigned>(info.flags),
                DescribeEffectFlags(info.flags).c_str());
    std::printf("Inputs:          %d\n", info.inputs);
    std::printf("Outputs:         %d\n", info.outputs);
    std::printf("Latency:         %d frames", info.delayProcessing);
    if (info.delayBefore != info.delayProcessing)
        std::printf(" (%d before processing started)", info.delayBefore);
    std::printf("\nTail:            %lld frames%s\n", static_cast<long long>(info.tailSize),
                info.tailSize == 0   ? " (0: not reported)"
                : info.tailSize == 1 ? " (1: none)"
                                     : "");
    if (info.editorRect)
        std::printf("Editor:          %d x %d\n", info.editorWidth, info.editorHeight);
    else if (info.editorAsked)
        std::printf("Editor:          not queried: %s\n", info.editorMissing.c_str());
    std::printf("Parameters:      %zu\n", info.parameters.size());
    for (size_t i = 0; i < info.parameters.size(); ++i) {
        const ParameterInfo& p = info.parameters[i];
        std::printf("  %3zu  %-24s display %-12s label %-8s value %.6f%s\n", i,
                    ("\"" + p.name + "\"").c_str(), ("\"" + p.display + "\"").c_str(),
                    ("\"" + p.label + "\"").c_str(), p.value, DescribeParameterProperties(p).c_str());
    }
    std::printf("Programs:        %zu (current %d)\n", info.programs.size(), info.currentProgram);
    for (size_t i = 0; i < info.programs.size(); ++i)
        std::printf("  %3zu  \"%s\"\n", i, info.programs[i].c_str());
    std::printf("Can do:\n");
    for (const CanDoInfo& c : info.canDo) std::printf("  %-22s %s\n", c.text, CanDoAnswer(c.answer));
}

// The flags' names as an array under "flagNames".
void JsonFlagNames(JsonWriter& j, int32_t flags) {
    j.Key("flagNames");
    j.BeginArray();
    std::string names = DescribeEffectFlags(flags);
    for (size_t start = 0; names != "none" && start < names.size();) {
        size_t end = names.find(' ', start);
        if (end == std::string::npos) end = names.size();
        j.String(names.substr(start, end - start));
        start = end + 1;
    }
    j.EndArray();
}

// What effGetParameterProperties told, or null.
void JsonProperties(JsonWriter& j, const ParameterInfo& p) {
    if (p.hasProperties) {
        const VstParameterProperties& r = p.properties;
        j.BeginObject();
        j.Field("flags", r.flags);
        j.Field("isSwitch", (r.flags & kVstParameterIsSwitch) != 0);
        if (r.flags & kVstParameterUsesIntegerMinMax) {
            j.Field("minInteger", r.minInteger);
            j.Field("maxInteger", r.maxInteger);
        }
        if (r.flags & kVstParameterUsesIntStep) {
            j.Field("stepInteger", r.stepInteger);
            j.Field("largeStepInteger", r.largeStepInteger);
        }
        if (r.flags & kVstParameterUsesFloatStep) {
            j.Field("stepFloat", r.stepFloat);
            j.Field("smallStepFloat", r.smallStepFloat);
            j.Field("largeStepFloat", r.largeStepFloat);
        }
        j.EndObject();
    } else {
        j.Null();
    }
}

void JsonParameters(JsonWriter& j, const std::vector<ParameterInfo>& parameters) {
    j.Key("parameters");
    j.BeginArray();
    for (size_t i = 0; i < parameters.size(); ++i) {
        const ParameterInfo& p = parameters[i];
        j.BeginObject();
        j.Field("index", static_cast<int64_t>(i));
        j.Field("name", p.name);
        j.Field("label", p.label);
        j.Field("display", p.display);
        j.Field("value", p.value);
        j.Field("automatable", p.automatable > 0);
        j.Key("properties");
        JsonProperties(j, p);
        j.EndObject();
    }
    j.EndArray();
}

void PrintJson(const EffectInfo& info) {
    JsonWriter j;
    j.BeginObject();
    j.Field("module", info.path);
    j.Field("entryPoint", info.entry);
    j.Field("effectName", info.effectName);
    j.Field("product", info.product);
    j.Field("vendor", info.vendor);
    j.Field("vendorVersion", info.vendorVersion);
    j.Field("uniqueID", static_cast<int64_t>(info.uniqueID));
    char id[16];
    std::snprintf(id, sizeof id, "%08X", static_cast<unsigned>(info.uniqueID));
    j.Field("uniqueIDHex", std::string(id));
    j.Field("version", info.version);
    j.Field("vstVersion", info.vstVersion);
    j.Field("category", info.category);
    j.Field("categoryName", CategoryName(info.category));
    j.Field("flags", info.flags);
    JsonFlagNames(j, info.flags);
    j.Field("inputs", info.inputs);
    j.Field("outputs", info.outputs);
    j.Field("latency", info.delayProcessing);
    j.Field("latencyBeforeProcessing", info.delayBefore);
    j.Field("tailSize", info.tailSize);
    if (info.editorAsked) {
        j.Key("editor");
        if (info.editorRect) {
            j.BeginObject();
            j.Field("width", info.editorWidth);
            j.Field("height", info.editorHeight);
            j.EndObject();
        } else {
            j.Null();
        }
    }
    JsonParameters(j, info.parameters);
    j.Field("currentProgram", info.currentProgram);
    j.Key("programs");
    j.BeginArray();
    for (const std::string& name : info.programs) j.String(name);
    j.EndArray();
    j.Key("canDo");
    j.BeginObject();
    for (const CanDoInfo& c : info.canDo) j.Field(c.text, static_cast<int64_t>(c.answer));
    j.EndObject();
    j.EndObject();
    std::fputs(j.Text().c_str(), stdout);
}

OptionTable InfoTable(InfoOptions& o) {
    return {"info",
            12,
            {Flag("--json",
                  "machine-readable output (identity, flags, I/O counts, latency, tail, parameters\n"
                  "with display values and properties, programs, canDo answers)",
                  o.json),
             Flag("--editor",
                  "also ask for the editor's size (only with a display: some plug-ins crash\n"
                  "asking for it without one)",
                  o.editor)}};
}

std::string InfoHelp() {
    InfoOptions unused;
    return OptionHelp(InfoTable(unused));
}

int RunInfo(ArgReader& args) {
    InfoOptions o;
    int code = ParseOptions(args, InfoTable(o), [&o](const std::string& arg) {
        if (!o.module.empty()) return UsageError("info takes one module, not '" + arg + "' as well");
        o.module = arg;
        return kExitOk;
    });
    if (code != kExitOk) return code;
    if (o.module.empty()) return UsageError("info needs a MODULE");

    PluginSession session;
    std::string error;
    if (!session.Start(o.module, 44100.0, 512, error)) return Fail(error, kExitPlugin);
    EffectInfo info = Gather(session, o);
    if (o.json)
        PrintJson(info);
    else
        PrintText(info);
    return kExitOk;
}

}  // namespace

const CommandInfo kInfoCommand = {
    "info",
    "  vsthost info MODULE [--json] [--editor]\n",
    "identity, flags, I/O, latency, parameters, programs and capabilities",
    InfoHelp,
    RunInfo,
};
