// Windows: no allocator or lock calls are watched; the audio thread's counts stay zero and the
// validator's realtime checks report themselves as not available.
#include "tools/vsthost/host/RealtimeProbe.h"

bool RealtimeProbe::CountsAllocations() {
    return false;
}

bool RealtimeProbe::CountsLocks() {
    return false;
}

const char* RealtimeProbe::Method() {
    return "not available on Windows";
}

void RealtimeProbe::MarkThisThread(bool) {}

RealtimeCounts RealtimeProbe::ThisThread() {
    return RealtimeCounts{};
}

RealtimeProbe::Pause::Pause() {}

RealtimeProbe::Pause::~Pause() {}
