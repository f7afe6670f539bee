#include "tools/vsthost/host/PluginModule.h"

#include <cstdio>

#include "tools/vsthost/host/PluginCall.h"

namespace {

std::string Hex(int32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(v));
    return text;
}

}  // namespace

bool PluginModule::Load(const std::string& modulePath, std::string& error) {
    path = modulePath;
    entry = nullptr;
    entryName.clear();
    PluginCall::SetModule(path.c_str());
    std::string reason;
    bool opened = false;
    {
        // Loading runs the module's static constructors: plug-in code.
        PluginCall call("loading the module");
        opened = library.Open(modulePath, reason);
    }
    if (!opened) {
        error = "cannot load module '" + modulePath + "': " + reason;
        return false;
    }
    for (const char* name : {"VSTPluginMain", "main"}) {
        if (void* symbol = library.Symbol(name)) {
            entry = reinterpret_cast<VstPluginMainProc>(symbol);
            entryName = name;
            return true;
        }
    }
    library.Close();
    error = "'" + modulePath + "' is not a VST 2 module: it exports neither VSTPluginMain nor main";
    return false;
}

AEffect* PluginModule::CreateEffect(HostCallback& host, std::string& error) {
    AEffect* effect = nullptr;
    {
        EntryPointScope scope(host);
        effect = CreateEffect(&HostCallback::Callback, error);
    }
    if (effect) host.Attach(effect);
    return effect;
}

AEffect* PluginModule::CreateEffect(audioMasterCallback callback, std::string& error) {
    if (!entry) {
        error = "no module loaded";
        return nullptr;
    }
    AEffect* effect = nullptr;
    {
        PluginCall call(entryName.c_str());
        effect = entry(callback);
    }
    if (!effect) {
        error = "'" + path + "': " + entryName + " returned no effect";
        return nullptr;
    }
    // Anything else than a real record is left alone: calling into it could crash.
    if (effect->magic != kEffectMagic) {
        error = "'" + path + "': the effect record has magic " + Hex(effect->magic) + " instead of " +
                Hex(kEffectMagic) + " (VstP)";
        return nullptr;
    }
    if (!effect->dispatcher) {
        error = "'" + path + "': the effect record has no dispatcher";
        return nullptr;
    }
    if (effect->numInputs < 0 || effect->numInputs > kMaxChannels || effect->numOutputs < 0 ||
        effect->numOutputs > kMaxChannels || effect->numParams < 0 || effect->numParams > kMaxParameters ||
        effect->numPrograms < 0 || effect->numPrograms > kMaxPrograms) {
        error = "'" + path + "': the effect record reports implausible counts (inputs " +
                std::to_string(effect->numInputs) + ", outputs " + std::to_string(effect->numOutputs) +
                ", parameters " + std::to_string(effect->numParams) + ", programs " +
                std::to_string(effect->numPrograms) + ")";
        return nullptr;
    }
    return effect;
}

PluginModule::~PluginModule() {
    library.Close();
    if (PluginCall::Module() == path.c_str()) PluginCall::SetModule(nullptr);
}
