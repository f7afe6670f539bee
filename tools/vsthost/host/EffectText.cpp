#include "tools/vsthost/host/EffectText.h"

#include <cstdio>

#include "abi/VstAbi.h"

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
