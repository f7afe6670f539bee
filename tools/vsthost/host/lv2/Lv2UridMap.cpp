#include "tools/vsthost/host/lv2/Lv2UridMap.h"

Lv2UridMap::Lv2UridMap() {
    map_.handle = this;
    map_.map = [](LV2_URID_Map_Handle handle, const char* uri) {
        return static_cast<Lv2UridMap*>(handle)->Map(uri);
    };
    unmap_.handle = this;
    unmap_.unmap = [](LV2_URID_Unmap_Handle handle, LV2_URID urid) {
        return static_cast<Lv2UridMap*>(handle)->Unmap(urid);
    };
}

LV2_URID Lv2UridMap::Map(const char* uri) {
    if (!uri) return 0;
    std::lock_guard<std::mutex> hold(lock_);
    for (size_t i = 0; i < uris_.size(); ++i) {
        if (uris_[i] == uri) return static_cast<LV2_URID>(i + 1);
    }
    uris_.emplace_back(uri);
    return static_cast<LV2_URID>(uris_.size());
}

const char* Lv2UridMap::Unmap(LV2_URID urid) {
    std::lock_guard<std::mutex> hold(lock_);
    if (urid == 0 || urid > uris_.size()) return nullptr;
    return uris_[urid - 1].c_str();
}
