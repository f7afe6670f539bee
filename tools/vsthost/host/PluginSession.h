// A module, its host and one open effect, torn down in the right order (effect, host, module).
#pragma once

#include <memory>
#include <string>

#include "tools/vsthost/host/HostCallback.h"
#include "tools/vsthost/host/HostedEffect.h"
#include "tools/vsthost/host/PluginModule.h"

class PluginSession {
  public:
    // Loads the module, creates the effect and opens it at the given rate and block size.
    bool Start(const std::string& path, double sampleRate, int32_t blockSize, std::string& error);
    // Selects a program, or explains that the plug-in has no such program.
    bool SelectProgram(long program, std::string& error);
    HostedEffect& Effect() { return *effect; }
    HostCallback& Host() { return host; }
    const PluginModule& Module() const { return module; }

  private:
    PluginModule module;
    HostCallback host;
    std::unique_ptr<HostedEffect> effect;
};
