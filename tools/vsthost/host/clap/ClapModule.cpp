#include "tools/vsthost/host/clap/ClapModule.h"

ClapModule::~ClapModule() {
    Unload();
}

bool ClapModule::Load(const std::string& path, std::string& error) {
    Unload();
    std::string reason;
    if (!library.Open(path, reason)) {
        error = "cannot load module '" + path + "': " + reason;
        return false;
    }
    auto* record = static_cast<const clap_plugin_entry*>(library.Symbol("clap_entry"));
    if (!record) {
        error = "'" + path + "' is not a CLAP module: it exports no clap_entry";
        Unload();
        return false;
    }
    return Attach(record, path, error);
}

bool ClapModule::Attach(const clap_plugin_entry* record, const std::string& path, std::string& error) {
    entry = record;
    if (!clap_version_is_compatible(entry->abi_version)) {
        error = "'" + path + "' speaks CLAP " + std::to_string(entry->abi_version.major) + ".x, not 1.x";
    } else if (!entry->init || !entry->deinit || !entry->get_factory) {
        error = "'" + path + "': clap_entry lacks a function";
    } else if (!entry->init(path.c_str())) {
        error = "'" + path + "': clap_entry.init refused";
    } else {
        initialised = true;
        factory = static_cast<const clap_plugin_factory*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
        if (factory) return true;
        error = "'" + path + "' has no plug-in factory";
    }
    Unload();
    return false;
}

void ClapModule::Unload() {
    if (initialised) entry->deinit();
    initialised = false;
    factory = nullptr;
    entry = nullptr;
    library.Close();
}
