#pragma once

#include <cstdint>

// The host number the plug-in keys its host-specific behaviour on, found from the host's product
// name (the channel adjustment at open, the editor window's keyboard focus). The values are part
// of the behaviour: they are the numbers of the host table.
enum class HostId : int32_t {
    NotAsked = -1,
    Unknown = 0,  // a host the table does not know
    Reaper = 1,
    Cubase = 3,
    Nuendo = 4,
    Cakewalk = 5,
    Fruity = 7,
    Samplitude = 8,
    Live = 9,
    Melodyne = 12,
    VstManLib = 13,
    AuLab = 14,
    Forte = 15,
    Chainer = 16,
    Audition = 17,
    Orion = 18,
    SawStudio = 20,
    Logic = 21,
    Digital = 22,
    AudioMulch = 23,
    Presonus = 24,
    Acoustica = 25,
    GarageBand = 26,
    Ardour = 27,
};
