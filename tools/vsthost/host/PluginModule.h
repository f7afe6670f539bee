// A VST 2 module on disk: loads it, finds its entry point (VSTPluginMain, else main) and creates
// effects through it, checking that what comes back looks like an effect record.
#pragma once

#include <string>

#include "tools/vsthost/host/HostCallback.h"
#include "tools/vsthost/host/SharedLibrary.h"
#include "abi/VstAbi.h"

class PluginModule {
  public:
    // Limits beyond which a record is taken as corrupt rather than as a real plug-in.
    static constexpr int32_t kMaxChannels = 256;
    static constexpr int32_t kMaxParameters = 1 << 20;
    static constexpr int32_t kMaxPrograms = 1 << 20;

    PluginModule() = default;
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // Loads the module and looks up its entry point. Errors name the file and the reason.
    bool Load(const std::string& path, std::string& error);
    // Calls the entry point with the host's callback. Returns the record, bound to host, or null
    // with a reason (the module returned null, the magic is wrong, the record is implausible).
    AEffect* CreateEffect(HostCallback& host, std::string& error);
    // The same with any host callback (SilentHostCallback, say); nothing is bound.
    AEffect* CreateEffect(audioMasterCallback callback, std::string& error);

    const std::string& EntryName() const { return entryName; }
    const std::string& Path() const { return path; }

  private:
    SharedLibrary library;
    VstPluginMainProc entry = nullptr;
    std::string entryName;
    std::string path;
};
