// The module's exports on Linux: VSTPluginMain, and main as a second name of the same function.
#include "vst/VstEntry.h"
#include "plugbase/ModuleInstance.h"

#include <dlfcn.h>

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
    // The module's load address serves as its instance token.
    Dl_info info{};
    if (!ModuleInstance() && dladdr(reinterpret_cast<void*>(&VSTPluginMain), &info))
        SetModuleInstance(info.dli_fbase);
    return VstCreateEffect(host);
}

// An assembler label gives the export the name main without the language's rules for main.
extern "C" __attribute__((visibility("default"), alias("VSTPluginMain"))) AEffect* VstMainAlias(
    audioMasterCallback host) asm("main");
