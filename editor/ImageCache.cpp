#include "editor/ImageCache.h"

namespace {

// Constructed during the module's static initialisation, destroyed when it unloads.
ImageCache cache;

}  // namespace

ImageCache& ImageCache::Instance() {
    return cache;
}

RasterBitmap* ImageCache::FindOrLoad(int id, const std::function<std::unique_ptr<RasterBitmap>()>& load) {
    std::lock_guard<std::mutex> hold(lock_);
    if (id >= 0) {
        for (const Entry& entry : entries_)
            if (entry.id == id) return entry.bitmap.get();
    }
    std::unique_ptr<RasterBitmap> bitmap = load();
    if (!bitmap) return nullptr;
    RasterBitmap* result = bitmap.get();
    entries_.push_back({id < 0 ? kUnnamedId : id, std::move(bitmap)});
    return result;
}

RasterBitmap* ImageCache::Keep(std::unique_ptr<RasterBitmap> bitmap) {
    if (!bitmap) return nullptr;
    std::lock_guard<std::mutex> hold(lock_);
    RasterBitmap* result = bitmap.get();
    entries_.push_back({kUnnamedId, std::move(bitmap)});
    return result;
}

int ImageCache::EntryCount() const {
    std::lock_guard<std::mutex> hold(lock_);
    return static_cast<int>(entries_.size());
}
