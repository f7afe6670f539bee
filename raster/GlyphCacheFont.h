#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "base/GrowBuffer.h"
#include "raster/DibBitmap.h"
#include "raster/PlatformFont.h"
#include "raster/RasterBitmap.h"
#include "raster/RasterFont.h"
#include "raster/TextRect.h"

// One cached character. Masks are width x height coverage bytes, row after row.
struct GlyphRecord {
    int32_t offset;      // store offset + 1: 0 not rendered yet, -1 renders as nothing
    int32_t width;       // mask width
    int32_t height;      // mask height
    int32_t advance;     // pen movement along the line
    int32_t code;        // character code (16 bits)
    int32_t leftOffset;  // how far the mask starts before the pen position
};

// Font that renders each character once through the platform, white on black, keeps its
// coverage as an 8-bit mask and composites text from that cache with the raster blend rules
// (alpha, blend modes, mono, inverted, blurred, shadowed, outlined and vertical text). Plain
// opaque text may instead go through the platform's own renderer.
//
// Threads: a font is used by one thread at a time. Everything a draw writes (colours, glyph cache,
// scratch bitmaps, the platform font) belongs to the font alone, so different fonts may draw on
// different threads at once. A font shared between threads is drawn with its DrawLock() held
// around each setter-and-draw sequence (the editor's fonts: EditorText::Draw). The live-font
// count and the compatibility-layer probe are the only process-wide state; both are atomic.
class GlyphCacheFont : public RasterFont {
  public:
    // Fonts taller than this cache no glyphs.
    static constexpr int kMaxCachedLineHeight = 1023;
    // Fonts this tall always use the platform renderer.
    static constexpr int kPlatformOnlyLineHeight = 256;

    GlyphCacheFont();
    ~GlyphCacheFont() override;

    void SetFromHFont(PlatformFont* handle, int flags) override;
    uint32_t SetForegroundColor(uint32_t argb) override;
    uint32_t SetBackgroundColor(uint32_t argb) override;
    uint32_t SetEffectColor(uint32_t argb) override;
    int SetBackgroundMode(int mode) override;
    void SetCombineMode(int mode, float alpha) override;
    int DrawString(RasterBitmap* bitmap, const char* text, int byteCount, TextRect* rect,
                   unsigned textFlags) override;
    uint32_t ForegroundColor() override { return foreground_; }
    PlatformFont* FontHandle() override { return handle_; }
    int LineHeight() override { return lineHeight_; }

    // Composites the cached glyph of code with its pen at (x, y), clipped to clip. False when
    // the character has no glyph or nothing of it is visible.
    virtual bool DrawGlyph(RasterBitmap* bitmap, int code, int x, int y, const TextRect& clip);

    // The record of code, or null when the cache has none.
    const GlyphRecord* FindGlyph(int code) const;
    // Renders code through the platform into the cache; false when it cannot be cached.
    bool RenderGlyph(int code);
    // The mask of a usable record (offset > 0 and inside the store), else null.
    const uint8_t* GlyphMask(const GlyphRecord& record) const;

    int FontFlags() const { return flags_; }
    // Held by whoever shares the font between threads, around each sequence of calls. Any thread.
    std::mutex& DrawLock() { return drawLock_; }

    // The font's scratch bitmaps (null until first needed), for tests.
    DibBitmap* GlyphScratch() const { return glyphScratch_.get(); }
    DibBitmap* TextScratch() const { return textScratch_.get(); }

    // Process-wide state, for tests. Any thread.
    enum class CompatibilityLayer { NotProbed, Absent, Present };
    static CompatibilityLayer ProbeResult();
    static void SetProbeResultForTesting(CompatibilityLayer result);
    static int LiveFontCount();

  private:
    bool UsesPlatformRenderer(unsigned textFlags);
    int DrawPlatform(RasterBitmap* bitmap, const char* text, int byteCount, TextRect* rect,
                     unsigned textFlags);
    int MeasureCached(const char* text, int byteCount, TextRect* rect, unsigned textFlags);
    int DrawCached(RasterBitmap* bitmap, const char* text, int byteCount, TextRect* rect, unsigned textFlags);
    // Walks the characters from the pen (x, y): carriage returns are skipped, line feeds start a
    // new line at the start pen (a space with TextSingleLine); visit(record, code) gets every
    // drawable glyph and moves the pen itself.
    template <class Visit>
    void WalkText(const char* text, int byteCount, unsigned textFlags, long long& x, long long& y,
                  Visit visit);
    // The record for code, rendering it first when needed; null when it cannot be drawn.
    const GlyphRecord* UsableGlyph(int code);
    // Renders code into the store: the record to keep for it (offset -1 when it draws nothing).
    GlyphRecord RenderRecord(int code);
    // The glyph scratch, grown to at least side x side.
    DibBitmap& GlyphScratchOfSide(int side);
    // The clipped part of a glyph (the mask rows it draws, where they land) drawn with the
    // font's colours, weight and combine mode: two colour levels, or coverage weights.
    struct GlyphArea;
    template <class Op>
    static void ForEachInked(RasterBitmap& bitmap, const GlyphArea& area, Op op);
    void CompositeLevels(RasterBitmap& bitmap, const GlyphArea& area) const;
    void CompositeCoverage(RasterBitmap& bitmap, const GlyphArea& area) const;
    GlyphRecord* MutableGlyph(int code);
    int ExtendedCount() const;
    void ClearCache();

    uint32_t foreground_ = 0;
    uint32_t background_ = 0xFFFFFFFFu;
    uint32_t effect_ = 0xFFFFFFFFu;
    int backgroundMode_ = 1;
    int combineMode_ = 0;
    float alpha_ = 1.0f;
    int flags_ = 0;
    int lineHeight_ = 0;
    GlyphRecord ascii_[128] = {};
    GrowBuffer extended_{4096};
    GrowBuffer store_{65536};
    PlatformFont* handle_ = nullptr;
    std::unique_ptr<DibBitmap> glyphScratch_;
    std::unique_ptr<DibBitmap> textScratch_;
    std::mutex drawLock_;
};
