#include "vst/HostTable.h"

#include <cstring>

namespace {

struct HostFragment {
    const char* fragment;
    int32_t id;
};

// Order matters: "cubase" wins over "live" for a name containing both.
constexpr HostFragment kHostTable[] = {
    {"cubase", 3},      {"reaper", 1},   {"nuendo", 4},      {"cakewalk", 5},   {"samplitude", 8},
    {"fruity", 7},      {"live", 9},     {"melodyne", 12},   {"vstmanlib", 13}, {"aulab", 14},
    {"forte", 15},      {"chainer", 16}, {"audition", 17},   {"orion", 18},     {"sawstudio", 20},
    {"logic", 21},      {"digital", 22}, {"audiomulch", 23}, {"presonus", 24},  {"acoustica", 25},
    {"garageband", 26}, {"ardour", 27},
};

constexpr int kNameBuffer = 256;

}  // namespace

int32_t HostIdFromProductName(const char* name, int maxLength) {
    if (!name || maxLength <= 0) return 0;
    char lower[kNameBuffer];
    int n = 0;
    while (n < maxLength && n < kNameBuffer - 1 && name[n] != '\0') {
        const char c = name[n];
        lower[n] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        ++n;
    }
    lower[n] = '\0';
    for (const HostFragment& row : kHostTable) {
        if (std::strstr(lower, row.fragment)) return row.id;
    }
    return 0;
}

int32_t PackedHostVersion(intptr_t decimalVersion) {
    if (decimalVersion <= 0) return 0;
    intptr_t major = decimalVersion / 10000;
    const intptr_t minor = (decimalVersion % 10000) / 100;
    const intptr_t patch = decimalVersion - major * 10000 - minor * 100;
    if (major > 32767) major = 32767;
    return static_cast<int32_t>(major * 65536 + minor * 256 + patch);
}
