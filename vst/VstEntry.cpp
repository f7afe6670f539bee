#include "vst/VstEntry.h"

#include <mutex>

#include "vst/IVstPlugin.h"

namespace {

// Serialises the construction of plug-in objects across the process. Constant-initialised, so it
// exists before any host call and is destroyed when the module unloads.
std::mutex processLock;

}  // namespace

AEffect* VstCreateEffect(audioMasterCallback host) noexcept {
    try {
        std::lock_guard<std::mutex> guard(processLock);
        IVstPlugin* plugin = CreateVstPlugin(host);
        if (!plugin) return nullptr;
        plugin->EnsureOneProgram();
        AEffect* effect = plugin->Effect();
        if (effect->numPrograms < 1) effect->numPrograms = 1;
        return effect;
    } catch (...) {
        return nullptr;
    }
}
