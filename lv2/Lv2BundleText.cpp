#include "lv2/Lv2BundleText.h"

#include <cmath>
#include <cstdio>
#include <iterator>

#include "lv2/Lv2PortLayout.h"
#include "plugbase/IPluginCore.h"

namespace {
const char* const kPrefixes =
    "@prefix atom:  <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n"
    "@prefix doap:  <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf:  <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix midi:  <http://lv2plug.in/ns/ext/midi#> .\n"
    "@prefix opts:  <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix pset:  <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf:   <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix ui:    <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid:  <http://lv2plug.in/ns/ext/urid#> .\n\n";

constexpr int kVariants = static_cast<int>(std::size(kLv2Variants));

// A Turtle string literal.
std::string Quoted(const char* text) {
    std::string out = "\"";
    for (const char* c = text; *c; ++c) {
        if (*c == '"' || *c == '\\') out += '\\';
        out += *c;
    }
    return out + "\"";
}

// A decimal literal (always with a point, so that hosts read a float).
std::string Number(double value) {
    char text[64];
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        std::snprintf(text, sizeof text, "%.1f", value);
    } else {
        std::snprintf(text, sizeof text, "%.9g", value);
    }
    return text;
}

// The LV2 unit for a parameter label; null when the label names none.
const char* Unit(const char* label) {
    const std::string text = label;
    if (text == "ms") return "units:ms";
    if (text == "%") return "units:pc";
    if (text == "dB") return "units:db";
    if (text == "Hz") return "units:hz";
    if (text == "s") return "units:s";
    return nullptr;
}

std::string Ref(const std::string& uri) {
    return "<" + uri + ">";
}
}  // namespace

Lv2BundleText::Lv2BundleText(IPluginCore& effect, std::string uri, std::string binary, std::string homepage)
    : effect_(effect), uri_(std::move(uri)), binary_(std::move(binary)), homepage_(std::move(homepage)) {}

int Lv2BundleText::FactoryPrograms() const {
    int count = 0;
    while (count < effect_.ProgramCount() && effect_.Program(count)->IsInitialised()) ++count;
    return count;
}

std::string Lv2BundleText::Manifest() const {
    std::string text = kPrefixes;
    for (const Lv2Variant& variant : kLv2Variants) {
        text += Ref(uri_ + variant.uriSuffix) + "\n    a lv2:Plugin ;\n    lv2:binary " + Ref(binary_) +
                " ;\n    rdfs:seeAlso <" + kPluginFile + "> .\n\n";
    }
    text += Ref(uri_ + kLv2UiSuffix) + "\n    a ui:X11UI ;\n    ui:binary " + Ref(binary_) +
            " ;\n    rdfs:seeAlso <" + kUiFile + "> .\n";
    const int programs = FactoryPrograms();
    for (int p = 0; p < programs; ++p) {
        text += "\n" + Ref(uri_ + kLv2PresetSuffix + std::to_string(p)) + "\n    a pset:Preset ;\n";
        for (int v = 0; v < kVariants; ++v) {
            text += std::string(v == 0 ? "    lv2:appliesTo " : ", ") + Ref(uri_ + kLv2Variants[v].uriSuffix);
        }
        text += " ;\n    rdfs:label " + Quoted(effect_.ProgramName(p)) + " ;\n    rdfs:seeAlso <" +
                kPresetFile + "> .\n";
    }
    return text;
}

std::string Lv2BundleText::ControlPort(int index) const {
    const IParameter& param = *effect_.Parameter(index);
    double min = 0.0, max = 0.0;
    param.Bounds(min, max);
    std::string text = "[\n        a lv2:InputPort, lv2:ControlPort ;\n        lv2:index " +
                       std::to_string(index) + " ;\n        lv2:symbol \"" + Lv2Symbol(param.Name()) +
                       "\" ;\n        lv2:name " + Quoted(param.Name()) + " ;\n        lv2:default " +
                       Number(param.PlainValue()) + " ;\n        lv2:minimum " + Number(min) +
                       " ;\n        lv2:maximum " + Number(max);
    switch (param.Kind()) {
        case ParameterKind::Toggle:
            text += " ;\n        lv2:portProperty lv2:integer, lv2:toggled";
            break;
        case ParameterKind::Integer:
            text += " ;\n        lv2:portProperty lv2:integer";
            break;
        case ParameterKind::Choice:
            text += " ;\n        lv2:portProperty lv2:integer, lv2:enumeration";
            break;
        default:
            break;
    }
    if (const char* unit = Unit(param.Label())) text += std::string(" ;\n        units:unit ") + unit;
    for (int i = 0; i < param.ValueTextCount(); ++i) {
        const ValueText* entry = param.ValueTextAt(i);
        text += std::string(i == 0 ? " ;\n        lv2:scalePoint " : " , ") + "[ rdfs:label " +
                Quoted(entry->text) + " ; rdf:value " + Number(entry->value) + " ]";
    }
    return text + "\n    ]";
}

std::string Lv2BundleText::FixedPorts(int channels) const {
    const Lv2PortLayout layout{effect_.ParameterCount(), channels};
    auto port = [](uint32_t index, const char* classes, const char* symbol, const char* name,
                   const char* extra) {
        return std::string(" , [\n        a ") + classes + " ;\n        lv2:index " + std::to_string(index) +
               " ;\n        lv2:symbol \"" + symbol + "\" ;\n        lv2:name \"" + name + "\"" + extra +
               "\n    ]";
    };
    const char* midi = " ;\n        atom:bufferType atom:Sequence ;\n        atom:supports midi:MidiEvent";
    std::string text = port(layout.EventsIn(), "lv2:InputPort, atom:AtomPort", "midi_in", "MIDI In",
                            (std::string(midi) + " ;\n        lv2:designation lv2:control").c_str());
    text += port(layout.EventsOut(), "lv2:OutputPort, atom:AtomPort", "midi_out", "MIDI Out", midi);
    text += port(layout.PanOutput(), "lv2:OutputPort, lv2:ControlPort", "pan", "Pan Position",
                 " ;\n        lv2:default 0.0 ;\n        lv2:minimum -1.0 ;\n        lv2:maximum 1.0");
    static const char* const kIn[2][2] = {{"in", "In"}, {"in_l", "In L"}};
    static const char* const kInR[2] = {"in_r", "In R"};
    static const char* const kOut[2][2] = {{"out", "Out"}, {"out_l", "Out L"}};
    static const char* const kOutR[2] = {"out_r", "Out R"};
    const int stereo = channels > 1 ? 1 : 0;
    text += port(layout.AudioIn(0), "lv2:InputPort, lv2:AudioPort", kIn[stereo][0], kIn[stereo][1], "");
    if (stereo) text += port(layout.AudioIn(1), "lv2:InputPort, lv2:AudioPort", kInR[0], kInR[1], "");
    text += port(layout.AudioOut(0), "lv2:OutputPort, lv2:AudioPort", kOut[stereo][0], kOut[stereo][1], "");
    if (stereo) text += port(layout.AudioOut(1), "lv2:OutputPort, lv2:AudioPort", kOutR[0], kOutR[1], "");
    return text;
}

std::string Lv2BundleText::Plugin(int variant) const {
    const Lv2Variant& v = kLv2Variants[variant];
    const int32_t version = effect_.Version();
    std::string text =
        Ref(uri_ + v.uriSuffix) + "\n    a lv2:Plugin, lv2:SpatialPlugin, doap:Project ;\n    doap:name " +
        Quoted((std::string(effect_.EffectName()) + v.nameSuffix).c_str()) +
        " ;\n    doap:license <http://opensource.org/licenses/MIT> ;\n"
        "    doap:maintainer [ foaf:name " +
        Quoted(effect_.MakerName()) + " ; foaf:homepage " + Ref(homepage_) + " ] ;\n    lv2:minorVersion " +
        std::to_string((version >> 8) & 0xFF) + " ;\n    lv2:microVersion " + std::to_string(version & 0xFF) +
        " ;\n    lv2:requiredFeature urid:map ;\n"
        "    lv2:optionalFeature lv2:hardRTCapable, opts:options, bufsz:boundedBlockLength ;\n"
        "    opts:supportedOption bufsz:maxBlockLength, bufsz:nominalBlockLength ;\n"
        "    lv2:extensionData state:interface ;\n    ui:ui " +
        Ref(uri_ + kLv2UiSuffix) + " ;\n    lv2:port ";
    for (int i = 0; i < effect_.ParameterCount(); ++i) text += (i ? " , " : "") + ControlPort(i);
    return text + FixedPorts(v.channels) + " .\n";
}

std::string Lv2BundleText::Plugins() const {
    std::string text = kPrefixes;
    for (int v = 0; v < kVariants; ++v) text += (v ? "\n" : "") + Plugin(v);
    return text;
}

std::string Lv2BundleText::Ui() const {
    std::string text = std::string(kPrefixes) + Ref(uri_ + kLv2UiSuffix) +
                       "\n    a ui:X11UI ;\n"
                       "    lv2:requiredFeature ui:idleInterface, ui:parent ;\n"
                       "    lv2:optionalFeature ui:noUserResize, ui:touch, ui:resize ;\n"
                       "    lv2:extensionData ui:idleInterface ;\n    ui:portNotification ";
    for (int v = 0; v < kVariants; ++v) {
        text += std::string(v ? " , " : "") + "[\n        ui:plugin " +
                Ref(uri_ + kLv2Variants[v].uriSuffix) +
                " ;\n        lv2:symbol \"pan\" ;\n        ui:protocol ui:floatProtocol\n    ]";
    }
    return text + " .\n";
}

std::string Lv2BundleText::Presets() {
    std::string text = kPrefixes;
    const int programs = FactoryPrograms();
    std::lock_guard<std::recursive_mutex> hold(effect_.Lock());
    for (int p = 0; p < programs; ++p) {
        if (!effect_.SelectProgram(p)) continue;
        text += Ref(uri_ + kLv2PresetSuffix + std::to_string(p)) + "\n    a pset:Preset ;\n    rdfs:label " +
                Quoted(effect_.ProgramName(p)) + " ;\n    lv2:port ";
        for (int i = 0; i < effect_.ParameterCount(); ++i) {
            text += std::string(i ? " , " : "") + "[ lv2:symbol \"" +
                    Lv2Symbol(effect_.Parameter(i)->Name()) + "\" ; pset:value " +
                    Number(effect_.Parameter(i)->PlainValue()) + " ]";
        }
        text += " .\n\n";
    }
    return text;
}
