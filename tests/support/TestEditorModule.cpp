// The test editor effect as a loadable module (testeditor.dll / testeditor.so).
#include <new>

#include "tests/support/TestEditorEffect.h"
#include "vst/ModuleInstance.h"
#include "vst/VstEntry.h"

IVstPlugin* CreateVstPlugin(audioMasterCallback host) {
    try {
        return new TestEditorEffect(host, ModuleInstance());
    } catch (...) {
        return nullptr;
    }
}
