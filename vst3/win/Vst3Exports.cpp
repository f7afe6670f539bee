// The module's exports on Windows (named in vesmar-vst3.def): GetPluginFactory and the optional
// InitDll and ExitDll, and the DLL entry routine that records the module instance for resource
// look-ups.
#include <windows.h>

#include "plugbase/ModuleInstance.h"
#include "vst3/Vst3Entry.h"

extern "C" vst3::IPluginFactory* GetPluginFactory() {
    return Vst3GetFactory();
}

extern "C" bool InitDll() {
    return Vst3EnterModule();
}

extern "C" bool ExitDll() {
    return Vst3ExitModule();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) SetModuleInstance(instance);
    return TRUE;
}
