#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// One port of an LV2 plug-in as its description states it.
struct Lv2PortInfo {
    enum class Kind { Control, Audio, Atom, Other };

    uint32_t index = 0;
    std::string symbol;
    std::string name;
    Kind kind = Kind::Other;
    bool input = false;
    bool optional = false;  // lv2:connectionOptional
    float defaultValue = 0.0f;
    float minimum = 0.0f;
    float maximum = 1.0f;
    bool integer = false;
    bool toggled = false;
    bool enumeration = false;
    bool controlDesignation = false;                         // lv2:designation lv2:control
    bool midi = false;                                       // atom:supports midi:MidiEvent
    std::vector<std::pair<float, std::string>> scalePoints;  // value and label, sorted by value
};
