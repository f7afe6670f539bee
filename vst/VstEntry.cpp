#include "vst/VstEntry.h"

#include <memory>
#include <mutex>

#include "effect/CreateEffect.h"
#include "vst/IVstPlugin.h"

namespace {

// Serialises the construction of plug-in objects across the process. Constant-initialised, so it
// exists before any host call and is destroyed when the module unloads.
std::mutex processLock;

}  // namespace

AEffect* VstCreateEffect(audioMasterCallback host) noexcept {
    try {
        std::lock_guard<std::mutex> guard(processLock);
        std::unique_ptr<IPluginCore> effect = CreateEffect();
        if (!effect) return nullptr;
        effect->EnsureOneProgram();
        auto* plugin = new IVstPlugin(host, std::move(effect));
        AEffect* record = plugin->Effect();
        if (record->numPrograms < 1) record->numPrograms = 1;
        return record;
    } catch (...) {
        return nullptr;
    }
}
