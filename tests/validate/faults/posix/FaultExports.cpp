// The fault modules' exports on Linux: VSTPluginMain and main, one function under two names.
#include "tests/validate/faults/FaultPlugin.h"

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
    return CreateFaultPlugin(host);
}

extern "C" __attribute__((visibility("default"), alias("VSTPluginMain"), copy(VSTPluginMain))) AEffect*
FaultPluginMainAlias(audioMasterCallback host) asm("main");
