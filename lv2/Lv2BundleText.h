// The Turtle files of the Vesmar.lv2 bundle, written from the effect's own tables: its identity,
// its parameters (kind, range, default, label, value texts) and its factory programs. The build
// runs the generator (Lv2TurtleMain.cpp) over a freshly built effect, so the description cannot
// drift from the code.
#pragma once

#include <string>

class IPluginCore;

class Lv2BundleText {
  public:
    static constexpr const char* kPluginFile = "vesmar.ttl";
    static constexpr const char* kUiFile = "vesmar-ui.ttl";
    static constexpr const char* kPresetFile = "presets.ttl";

    // effect: freshly built, its parameters at their defaults. uri: the effect's LV2 URI; binary:
    // the module's file name inside the bundle; homepage: the maker's web address.
    Lv2BundleText(IPluginCore& effect, std::string uri, std::string binary, std::string homepage);

    std::string Manifest() const;
    std::string Plugins() const;
    std::string Ui() const;
    // Selects each factory program in turn: the effect's current values change.
    std::string Presets();

  private:
    std::string Plugin(int variant) const;
    std::string ControlPort(int index) const;
    std::string FixedPorts(int channels) const;
    int FactoryPrograms() const;

    IPluginCore& effect_;
    std::string uri_;
    std::string binary_;
    std::string homepage_;
};
