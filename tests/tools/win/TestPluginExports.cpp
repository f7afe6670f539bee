// The test plug-in's entry point on Windows; TestPlugin.def exports it as VSTPluginMain and main.
#include "tests/tools/TestGainPlugin.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback host) {
    return CreateTestGainPlugin(host);
}
