// The module's one export on Linux: clap_entry, a constant record, visible while everything else
// is hidden. extern "C" sits on the definition itself: a const object defined inside an
// extern "C" block would get internal linkage and not be exported at all.
#include <dlfcn.h>

#include "clap/ClapEntry.h"
#include "plugbase/ModuleInstance.h"

namespace {

bool Init(const char* pluginPath) {
    // The module's load address serves as its instance token.
    Dl_info info{};
    if (!ModuleInstance() && dladdr(reinterpret_cast<void*>(&ClapEntryInit), &info))
        SetModuleInstance(info.dli_fbase);
    return ClapEntryInit(pluginPath);
}

}  // namespace

extern "C" __attribute__((visibility("default")))
const clap_plugin_entry clap_entry = {CLAP_VERSION, Init, ClapEntryDeinit, ClapEntryGetFactory};
