// The module's one export on Windows, clap_entry (named in vesmar-clap.def), and the DLL entry
// routine that records the module instance for resource look-ups. extern "C" sits on the
// definition itself: a const object defined inside an extern "C" block would get internal linkage
// and not be exported at all.
#include <windows.h>

#include "clap/ClapEntry.h"
#include "plugbase/ModuleInstance.h"

extern "C" const clap_plugin_entry clap_entry = {CLAP_VERSION, ClapEntryInit, ClapEntryDeinit,
                                                 ClapEntryGetFactory};

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) SetModuleInstance(instance);
    return TRUE;
}
