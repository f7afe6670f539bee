#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "raster/RasterBitmap.h"

// Process-wide cache of decoded images by resource id, shared by every editor of the module.
// Created when the module loads and destroyed, images first, when it unloads. Entries are never
// removed before that. Every operation holds the cache's lock for its whole duration.
class ImageCache {
  public:
    // Id of images that are kept but never looked up (crops).
    static constexpr int kUnnamedId = -1;

    static ImageCache& Instance();

    // The image cached under id. When absent, load() runs under the lock — so each id is decoded
    // at most once per process even when editors load concurrently — and a non-null result is
    // cached. Null when load gives nothing (nothing is cached then). Ids below 0 are never found.
    RasterBitmap* FindOrLoad(int id, const std::function<std::unique_ptr<RasterBitmap>()>& load);
    // Takes ownership of an image nobody looks up; answers it (null for null).
    RasterBitmap* Keep(std::unique_ptr<RasterBitmap> bitmap);
    int EntryCount() const;

  private:
    struct Entry {
        int id;
        std::unique_ptr<RasterBitmap> bitmap;
    };

    mutable std::mutex lock_;
    std::vector<Entry> entries_;
};
