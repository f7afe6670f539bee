#pragma once

#include <cstdint>
#include <string>

// Where each port of a Vesmar LV2 plug-in sits: the parameters first, each at its own index, then
// the MIDI input, the MIDI output, the pan position and the audio inputs and outputs. The generated
// description and the adapter both follow it, so they cannot disagree.
struct Lv2PortLayout {
    int parameters = 0;
    int channels = 0;

    uint32_t Control(int parameter) const { return static_cast<uint32_t>(parameter); }
    uint32_t EventsIn() const { return static_cast<uint32_t>(parameters); }
    uint32_t EventsOut() const { return EventsIn() + 1; }
    uint32_t PanOutput() const { return EventsIn() + 2; }
    uint32_t AudioIn(int channel) const { return EventsIn() + 3 + static_cast<uint32_t>(channel); }
    uint32_t AudioOut(int channel) const { return AudioIn(channels + channel); }
    uint32_t Count() const { return AudioOut(channels); }
};

// The two plug-ins of the module: URI suffix (after the effect's LV2 URI), channels and the
// words added to the effect's name.
struct Lv2Variant {
    const char* uriSuffix;
    int channels;
    const char* nameSuffix;
};
inline constexpr Lv2Variant kLv2Variants[] = {{"#stereo", 2, ""}, {"#mono", 1, " (mono)"}};
inline constexpr const char* kLv2UiSuffix = "#ui";
inline constexpr const char* kLv2PresetSuffix = "#preset";

// A port symbol made from a parameter name: lower case letters, digits and underscores, not
// starting with a digit ("Sides Vol Amplify" gives "sides_vol_amplify").
inline std::string Lv2Symbol(const char* name) {
    std::string symbol;
    bool gap = false;
    for (const char* c = name; c && *c; ++c) {
        const char lower = (*c >= 'A' && *c <= 'Z') ? static_cast<char>(*c - 'A' + 'a') : *c;
        if ((lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9')) {
            if (gap && !symbol.empty()) symbol += '_';
            symbol += lower;
            gap = false;
        } else {
            gap = true;
        }
    }
    if (symbol.empty() || (symbol[0] >= '0' && symbol[0] <= '9')) symbol.insert(0, "p");
    return symbol;
}
