#include "clap/ClapEntry.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "clap/ClapAdapter.h"
#include "effect/CreateEffect.h"

namespace {

// The two plug-ins of the module, by channel count; texts live from init to the last deinit.
struct Variant {
    int channels;
    std::string id;
    std::string name;
    const char* features[3];
    clap_plugin_descriptor descriptor;
};

struct Catalogue {
    std::string version;
    Variant variants[2];
};

int gInitCount = 0;
std::unique_ptr<Catalogue> gCatalogue;

void Describe(const PluginDescriptor& effect, Variant& v, int channels) {
    const bool stereo = channels == 2;
    v.channels = channels;
    v.id = std::string(effect.clapId) + (stereo ? "" : ".mono");
    v.name = std::string(effect.effectName) + (stereo ? "" : " Mono");
    v.features[0] = "audio-effect";
    v.features[1] = stereo ? "stereo" : "mono";
    v.features[2] = nullptr;
}

void Fill(const PluginDescriptor& effect, const std::string& version, Variant& v) {
    clap_plugin_descriptor& d = v.descriptor;
    d.abi_version = CLAP_VERSION;
    d.id = v.id.c_str();
    d.name = v.name.c_str();
    d.vendor = effect.vendor;
    d.url = effect.webAddress;
    d.manual_url = "";
    d.support_url = effect.webAddress;
    d.version = version.c_str();
    d.description = "MIDI-triggered envelope auto-panner";
    d.features = v.features;
}

const clap_plugin* CreatePlugin(const clap_plugin_factory*, const clap_host* host, const char* id) {
    if (!gCatalogue || !host || !id) return nullptr;
    for (Variant& v : gCatalogue->variants) {
        // Only the exact id: hosts test with near misses.
        if (std::strcmp(id, v.id.c_str()) != 0) continue;
        std::unique_ptr<IPluginCore> effect = CreateEffect();
        if (!effect) return nullptr;
        try {
            return (new ClapAdapter(host, &v.descriptor, v.channels, std::move(effect)))->Plugin();
        } catch (...) {  // a failed allocation: no plug-in
            return nullptr;
        }
    }
    return nullptr;
}

const clap_plugin_factory kFactory = {
    [](const clap_plugin_factory*) -> uint32_t { return gCatalogue ? 2u : 0u; },
    [](const clap_plugin_factory*, uint32_t index) -> const clap_plugin_descriptor* {
        return gCatalogue && index < 2 ? &gCatalogue->variants[index].descriptor : nullptr;
    },
    CreatePlugin};

}  // namespace

bool ClapEntryInit(const char*) {
    if (gInitCount++ > 0) return true;
    try {
        const PluginDescriptor& effect = EffectDescriptor();
        auto catalogue = std::make_unique<Catalogue>();
        char version[32];
        std::snprintf(version, sizeof version, "%d.%d.%d", (effect.version >> 16) & 0xFFFF,
                      (effect.version >> 8) & 0xFF, effect.version & 0xFF);
        catalogue->version = version;
        Describe(effect, catalogue->variants[0], 2);
        Describe(effect, catalogue->variants[1], 1);
        for (Variant& v : catalogue->variants) Fill(effect, catalogue->version, v);
        gCatalogue = std::move(catalogue);
        return true;
    } catch (...) {
        gInitCount = 0;
        return false;
    }
}

void ClapEntryDeinit() {
    if (gInitCount > 0 && --gInitCount == 0) gCatalogue.reset();
}

const void* ClapEntryGetFactory(const char* factoryId) {
    return factoryId && std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID) == 0 ? &kFactory : nullptr;
}
