#include "editor/FontCache.h"

#include <cstring>

#include "editor/EditorText.h"

namespace {

// Constructed during the module's static initialisation, destroyed when it unloads.
FontCache cache;

}  // namespace

FontCache& FontCache::Instance() {
    return cache;
}

FontCache::~FontCache() {
    for (Entry& entry : entries_) EditorText::DestroyFont(entry.font);
}

GlyphCacheFont* FontCache::FindOrCreate(const ITextStyle& style) {
    std::lock_guard<std::mutex> hold(lock_);
    for (const Entry& entry : entries_) {
        if (entry.size == style.size && entry.orientation == style.orientation &&
            entry.style == style.style && std::strncmp(entry.face, style.face, sizeof entry.face) == 0)
            return entry.font;
    }
    GlyphCacheFont* font = EditorText::MakeFont(style);
    if (font == nullptr) return nullptr;
    Entry entry{style.size, style.orientation, style.style, {}, font};
    std::memcpy(entry.face, style.face, strnlen(style.face, sizeof entry.face - 1));
    entries_.push_back(entry);
    return font;
}

int FontCache::EntryCount() const {
    std::lock_guard<std::mutex> hold(lock_);
    return static_cast<int>(entries_.size());
}
