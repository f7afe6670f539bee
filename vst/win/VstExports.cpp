// The module's exports on Windows (named in vesmar.def, which also exports main as VSTPluginMain)
// and the DLL entry routine that records the module instance for resource look-ups.
#include <windows.h>

#include "plugbase/ModuleInstance.h"
#include "vst/VstEntry.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback host) {
    return VstCreateEffect(host);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) SetModuleInstance(instance);
    return TRUE;
}
