// The module's exports on Linux: GetPluginFactory, and the ModuleEntry and ModuleExit hosts
// require of every Linux module.
#include <dlfcn.h>

#include "plugbase/ModuleInstance.h"
#include "vst3/Vst3Entry.h"

#define VESMAR_EXPORT extern "C" __attribute__((visibility("default")))

VESMAR_EXPORT vst3::IPluginFactory* GetPluginFactory() {
    return Vst3GetFactory();
}

VESMAR_EXPORT bool ModuleEntry(void*) {
    // The module's load address serves as its instance token.
    Dl_info info{};
    if (!ModuleInstance() && dladdr(reinterpret_cast<void*>(&GetPluginFactory), &info))
        SetModuleInstance(info.dli_fbase);
    return Vst3EnterModule();
}

VESMAR_EXPORT bool ModuleExit() {
    return Vst3ExitModule();
}
