// A lilv world with the bundles a host was told to load, and the URIs the host side asks about.
#pragma once

#include <string>
#include <vector>

#include <lilv/lilv.h>

#include "tools/vsthost/host/lv2/Lv2PortInfo.h"

class Lv2World {
  public:
    Lv2World();
    ~Lv2World();
    Lv2World(const Lv2World&) = delete;
    Lv2World& operator=(const Lv2World&) = delete;

    // Loads the bundle in directory path (its manifest.ttl and what that names); false when the
    // directory holds no manifest.
    bool LoadBundle(const std::string& path);
    // The plug-in of that URI among the loaded bundles, or null.
    const LilvPlugin* Plugin(const std::string& uri) const;
    // Every port of plugin, in index order.
    std::vector<Lv2PortInfo> Ports(const LilvPlugin* plugin) const;
    // The URIs of the presets that apply to plugin, loaded so that lilv can build states of them.
    std::vector<std::string> Presets(const LilvPlugin* plugin);

    LilvWorld* Get() const { return world_; }

  private:
    struct Nodes;
    void ReadControlRange(const LilvPlugin* plugin, const LilvPort* port, Lv2PortInfo& info) const;

    LilvWorld* world_;
    Nodes* nodes_;
};
