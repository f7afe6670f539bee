#pragma once

#include <cstring>

#include <lv2/core/lv2.h>

// The data of the host's feature of that URI, or null when the host gives none (or gives it
// without data). Any list the host hands over, null-terminated; a null list has nothing.
inline void* Lv2FeatureData(const LV2_Feature* const* features, const char* uri) {
    for (const LV2_Feature* const* f = features; f && *f; ++f) {
        if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
    }
    return nullptr;
}
