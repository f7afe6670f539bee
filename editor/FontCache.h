#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "editor/ITextStyle.h"

class GlyphCacheFont;

// Process-wide cache of fonts keyed by (size, orientation, style bits, face); colour, alignment
// and quality are not part of the key, so the first font made for a key serves them all.
// Created when the module loads and destroyed, fonts first, when it unloads. Every operation holds
// the cache's lock for its whole duration; any thread.
//
// A font it hands out is shared by the editors of every instance, which may paint on different
// threads: draw with it only through EditorText::Draw, which holds the font's draw lock.
class FontCache {
  public:
    static FontCache& Instance();

    FontCache() = default;
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The cached font for the style's key; when absent, one is made from the style (under the
    // lock) and cached. Null when the platform cannot make it (nothing is cached then).
    GlyphCacheFont* FindOrCreate(const ITextStyle& style);
    int EntryCount() const;

  private:
    struct Entry {
        int32_t size;
        int32_t orientation;
        int32_t style;
        char face[ITextStyle::kFaceBytes];
        GlyphCacheFont* font;  // owned
    };

    mutable std::mutex lock_;
    std::vector<Entry> entries_;
};
