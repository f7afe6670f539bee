#include "vst/HostTable.h"

#include <cstring>

namespace {

struct HostFragment {
    const char* fragment;
    HostId id;
};

// Order matters: "cubase" wins over "live" for a name containing both.
constexpr HostFragment kHostTable[] = {
    {"cubase", HostId::Cubase},     {"reaper", HostId::Reaper},         {"nuendo", HostId::Nuendo},
    {"cakewalk", HostId::Cakewalk}, {"samplitude", HostId::Samplitude}, {"fruity", HostId::Fruity},
    {"live", HostId::Live},         {"melodyne", HostId::Melodyne},     {"vstmanlib", HostId::VstManLib},
    {"aulab", HostId::AuLab},       {"forte", HostId::Forte},           {"chainer", HostId::Chainer},
    {"audition", HostId::Audition}, {"orion", HostId::Orion},           {"sawstudio", HostId::SawStudio},
    {"logic", HostId::Logic},       {"digital", HostId::Digital},       {"audiomulch", HostId::AudioMulch},
    {"presonus", HostId::Presonus}, {"acoustica", HostId::Acoustica},   {"garageband", HostId::GarageBand},
    {"ardour", HostId::Ardour},
};

constexpr int kNameBuffer = 256;

}  // namespace

HostId HostIdFromProductName(const char* name, int maxLength) {
    if (!name || maxLength <= 0) return HostId::Unknown;
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
    return HostId::Unknown;
}

int32_t PackedHostVersion(intptr_t decimalVersion) {
    if (decimalVersion <= 0) return 0;
    intptr_t major = decimalVersion / 10000;
    const intptr_t minor = (decimalVersion % 10000) / 100;
    const intptr_t patch = decimalVersion - major * 10000 - minor * 100;
    if (major > 32767) major = 32767;
    return static_cast<int32_t>(major * 65536 + minor * 256 + patch);
}
