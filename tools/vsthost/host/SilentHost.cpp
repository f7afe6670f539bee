#include "tools/vsthost/host/SilentHost.h"

namespace {

// Never written after initialisation, so any number of threads may read it.
const VstTimeInfo kStoppedAtZero = [] {
    VstTimeInfo t{};
    t.sampleRate = 44100.0;
    return t;
}();

}  // namespace

intptr_t SilentHostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void* ptr, float) {
    switch (opcode) {
        case audioMasterVersion:
            return HostCallback::kHostVersion;
        case audioMasterGetTime:
            return reinterpret_cast<intptr_t>(&kStoppedAtZero);
        case audioMasterProcessEvents:
            return ptr ? 1 : 0;
        default:
            return 0;
    }
}
