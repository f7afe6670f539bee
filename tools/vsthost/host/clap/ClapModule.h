// A .clap module on disk, reached only through its exported clap_entry record: loads it, checks
// the entry's version, calls init with the module's path once and pairs it with deinit before
// unloading, and hands out the plug-in factory.
#pragma once

#include <string>

#include "abi/ClapAbi.h"
#include "tools/vsthost/host/SharedLibrary.h"

class ClapModule {
  public:
    ClapModule() = default;
    ~ClapModule();
    ClapModule(const ClapModule&) = delete;
    ClapModule& operator=(const ClapModule&) = delete;

    // Loads the module and initialises it; errors name the file and the reason. [main thread]
    bool Load(const std::string& path, std::string& error);
    // The same checks and init for an entry record already in the process (a test's own plug-in
    // standing in for a module). [main thread]
    bool Attach(const clap_plugin_entry* record, const std::string& path, std::string& error);
    // deinit, then unload; nothing if not loaded. [main thread]
    void Unload();

    const clap_plugin_entry* Entry() const { return entry; }
    const clap_plugin_factory* Factory() const { return factory; }

  private:
    SharedLibrary library;
    const clap_plugin_entry* entry = nullptr;
    const clap_plugin_factory* factory = nullptr;
    bool initialised = false;
};
