// The test plug-in's exports on Linux: VSTPluginMain and main, one function under two names.
#include "tests/tools/TestGainPlugin.h"

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
    return CreateTestGainPlugin(host);
}

extern "C" __attribute__((visibility("default"), alias("VSTPluginMain"), copy(VSTPluginMain))) AEffect*
TestPluginMainAlias(audioMasterCallback host) asm("main");
