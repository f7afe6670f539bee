#include <new>

#include "effect/VSTCLASS.h"
#include "vst/VstEntry.h"

IVstPlugin* CreateVstPlugin(audioMasterCallback host) {
    try {
        return new VSTCLASS(host);
    } catch (...) {  // nothing may escape to the host; the entry point answers null
        return nullptr;
    }
}
