// A VST 3 module on disk: finds the binary in the bundle, loads it, calls the entry the system
// requires (ModuleEntry on Linux with the library handle, InitDll on Windows when exported) and
// takes its factory; the destructor releases the factory and calls the matching exit.
#pragma once

#include <string>

#include "abi/Vst3Abi.h"
#include "tools/vsthost/host/SharedLibrary.h"

class Vst3Module {
  public:
    Vst3Module() = default;
    ~Vst3Module();
    Vst3Module(const Vst3Module&) = delete;
    Vst3Module& operator=(const Vst3Module&) = delete;

    // The binary inside a bundle folder (Name.vst3/Contents/<arch>-<os>/Name.so or .vst3); a path
    // that is not a folder is taken as the binary itself.
    static std::string BinaryPath(const std::string& bundle);

    // Loads the module, runs its entry and gets the factory; errors name the file and the reason.
    bool Load(const std::string& bundle, std::string& error);
    void Unload();

    vst3::IPluginFactory* Factory() const { return factory; }
    // The factory's newer interfaces, add-referenced, or null.
    vst3::IPluginFactory2* Factory2() const;
    vst3::IPluginFactory3* Factory3() const;

  private:
    SharedLibrary library;
    vst3::IPluginFactory* factory = nullptr;
    bool entered = false;
};
