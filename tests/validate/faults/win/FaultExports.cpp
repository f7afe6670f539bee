// The fault modules' entry point on Windows; FaultPlugin.def exports it as VSTPluginMain and main.
#include "tests/validate/faults/FaultPlugin.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback host) {
    return CreateFaultPlugin(host);
}
