// The host's URID table: the urid:map and urid:unmap features a plug-in gets at instantiation and
// its state and UI use later. URIDs count from 1; 0 is never handed out.
#pragma once

#include <deque>
#include <mutex>
#include <string>

#include <lv2/urid/urid.h>

class Lv2UridMap {
  public:
    Lv2UridMap();
    Lv2UridMap(const Lv2UridMap&) = delete;
    Lv2UridMap& operator=(const Lv2UridMap&) = delete;

    // [any thread] The URID of uri, new ones appended; 0 for a null uri.
    LV2_URID Map(const char* uri);
    // [any thread] The URI of urid, or null when it was never handed out.
    const char* Unmap(LV2_URID urid);

    LV2_URID_Map* MapFeature() { return &map_; }
    LV2_URID_Unmap* UnmapFeature() { return &unmap_; }

  private:
    std::mutex lock_;
    std::deque<std::string> uris_;  // index + 1 = URID; a deque keeps the texts in place
    LV2_URID_Map map_{};
    LV2_URID_Unmap unmap_{};
};
