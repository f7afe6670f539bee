// Knob value text: "500ms" at 15 px, centred, white at alpha 200/255, drawn from a warm glyph
// cache, against a Blit of the same area at the same weight in the same run; and the first
// draw after the cache was cleared (each glyph rendered by the platform).
#include <benchmark/benchmark.h>

#include <cstring>

#include "raster/BlendMode.h"
#include "raster/Blit.h"
#include "raster/DibBitmap.h"
#include "raster/GlyphCacheFont.h"
#include "raster/MemoryBitmap.h"

namespace {

constexpr char kText[] = "500ms";
constexpr int kGlyphs = 5;

PlatformFont* KnobFont() {
    static PlatformFont* font = [] {
        PlatformFontAttributes a;
        a.height = 15;
        std::strcpy(a.face, "Arial");
        return CreatePlatformFont(a);
    }();
    return font;
}

struct KnobScene {
    DibBitmap back{480, 260};
    TextRect knob = {100, 100, 160, 120};
    GlyphCacheFont font;
    KnobScene() {
        font.SetFromHFont(KnobFont(), FontPreferNative);
        font.SetForegroundColor(0xC8FFFFFFu);
    }
    int Draw() {
        TextRect r = knob;
        return font.DrawString(&back, kText, -1, &r, TextCenter | TextNoClip | TextUseColorAlpha);
    }
};

void PerCallAndGlyph(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kGlyphs);
}

void BM_DrawStringWarm(benchmark::State& state) {
    KnobScene scene;
    scene.Draw();
    for (auto _ : state) benchmark::DoNotOptimize(scene.Draw());
    PerCallAndGlyph(state);
}
BENCHMARK(BM_DrawStringWarm);

// The same with the compatibility layer present (as under Wine): the centring measure comes
// from the glyph cache too.
void BM_DrawStringWarmCachedMeasure(benchmark::State& state) {
    const auto probe = GlyphCacheFont::ProbeResult();
    GlyphCacheFont::SetProbeResultForTesting(GlyphCacheFont::CompatibilityLayer::Present);
    KnobScene scene;
    scene.Draw();
    for (auto _ : state) benchmark::DoNotOptimize(scene.Draw());
    PerCallAndGlyph(state);
    GlyphCacheFont::SetProbeResultForTesting(probe);
}
BENCHMARK(BM_DrawStringWarmCachedMeasure);

// The reference: compositing the text's whole box (its measured size) from a bitmap.
void BM_BlitTextArea(benchmark::State& state) {
    KnobScene scene;
    TextRect box = scene.knob;
    scene.font.DrawString(nullptr, kText, -1, &box, TextCalcRect | TextForceCached);
    const int w = box.right - box.left, h = box.bottom - box.top;
    MemoryBitmap source(w, h, 4);
    for (int i = 0; i < source.RowSpan() * h; ++i) source.Bits()[i] = 0xFFFFFFFFu;
    state.counters["pixels"] = w * h;
    for (auto _ : state) {
        Blit(&scene.back, &source, 115, 102, nullptr, 200.0f / 255.0f, BlendCopy);
        benchmark::ClobberMemory();
    }
    PerCallAndGlyph(state);
}
BENCHMARK(BM_BlitTextArea);

void BM_DrawStringCold(benchmark::State& state) {
    KnobScene scene;
    for (auto _ : state) {
        scene.font.SetFromHFont(KnobFont(), FontPreferNative);  // clears the cache
        benchmark::DoNotOptimize(scene.Draw());
    }
    PerCallAndGlyph(state);
}
BENCHMARK(BM_DrawStringCold);

}  // namespace

BENCHMARK_MAIN();
