#pragma once

#include <cstdint>

// What a plug-in is, as plain data: the names and numbers every format announces, and one field per
// format for the identity that format keys presets, sessions and automation on. The effect writes
// it once; every adapter reads the part it needs. Texts are static, zero-terminated and never null.
// The format identities must never change once released: hosts store them with every session.
struct PluginDescriptor {
    // The VST 2 identity, and the flags only the VST 2 record carries.
    struct Vst2Identity {
        int32_t uniqueId = 0;  // four-character code, first character in the most significant byte
        int32_t makerId = 0;
        int32_t doesMidi = 0;  // 0 none, 1 receives and sends
        bool isInstrument = false;
        bool stateChunks = false;  // the host saves opaque chunks rather than parameter values
    };

    const char* effectName = "";
    const char* productName = "";
    const char* vendor = "";
    const char* webAddress = "";
    const char* email = "";
    int32_t version = 0;  // major << 16 | minor << 8 | patch
    // Legal input-output channel counts, "in-out" separated by spaces ("1-1 2-2").
    const char* channelConfigs = "";
    int parameterCount = 0;
    int programCount = 0;
    int32_t latency = 0;  // samples
    bool midiInput = false;
    bool midiOutput = false;

    Vst2Identity vst2;
    uint8_t vst3ClassId[16] = {};
    const char* clapId = "";  // reverse-domain identifier
    const char* lv2Uri = "";
};
