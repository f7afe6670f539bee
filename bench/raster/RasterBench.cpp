#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "raster/Blit.h"
#include "raster/BlendMode.h"
#include "raster/FillRect.h"
#include "raster/MemoryBitmap.h"
#include "raster/RotatedBlit.h"

namespace {

constexpr int kSide = 256;  // 256 KiB per bitmap: stays in L2 like the editor's repaints

void Pattern(MemoryBitmap& b, uint32_t seed) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            b.Bits()[y * b.RowSpan() + x] = seed;
        }
}

void SetPixels(benchmark::State& state, long long pixelsPerIteration) {
    state.SetItemsProcessed(state.iterations() * pixelsPerIteration);
}

// The reference: copying the same bytes with memcpy.
void BM_Memcpy(benchmark::State& state) {
    std::vector<uint32_t> a(kSide * kSide, 1), b(kSide * kSide, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
        benchmark::ClobberMemory();
    }
    SetPixels(state, kSide * kSide);
}
BENCHMARK(BM_Memcpy);

void BM_Blit(benchmark::State& state, float alpha, int mode) {
    MemoryBitmap src(kSide, kSide, 4), dst(kSide, kSide, 4);
    Pattern(src, 1);
    Pattern(dst, 2);
    for (auto _ : state) {
        Blit(&dst, &src, 0, 0, nullptr, alpha, mode);
        benchmark::ClobberMemory();
    }
    SetPixels(state, kSide * kSide);
}
BENCHMARK_CAPTURE(BM_Blit, copy_full, 1.0f, BlendCopy);
BENCHMARK_CAPTURE(BM_Blit, copy_half, 0.5f, BlendCopy);
BENCHMARK_CAPTURE(BM_Blit, copy_weighted, 0.3f, BlendCopy);
BENCHMARK_CAPTURE(BM_Blit, copy_source_alpha, 1.0f, BlendCopy | BlendUseSourceAlpha);
BENCHMARK_CAPTURE(BM_Blit, copy_weighted_source_alpha, 0.7f, BlendCopy | BlendUseSourceAlpha);
BENCHMARK_CAPTURE(BM_Blit, add, 0.7f, BlendAdd);
BENCHMARK_CAPTURE(BM_Blit, dodge, 0.7f, BlendDodge);
BENCHMARK_CAPTURE(BM_Blit, multiply, 0.7f, BlendMultiply);
BENCHMARK_CAPTURE(BM_Blit, overlay, 0.7f, BlendOverlay);
BENCHMARK_CAPTURE(BM_Blit, hsv_adjust, 0.7f, BlendHsvAdjust);
BENCHMARK_CAPTURE(BM_Blit, channel_copy, 1.0f, 0xF3);

void BM_FillRect(benchmark::State& state, float alpha, int mode) {
    MemoryBitmap dst(kSide, kSide, 4);
    Pattern(dst, 3);
    for (auto _ : state) {
        FillRect(&dst, 0, 0, kSide, kSide, 0x80C04010, alpha, mode);
        benchmark::ClobberMemory();
    }
    SetPixels(state, kSide * kSide);
}
BENCHMARK_CAPTURE(BM_FillRect, copy_full, 1.0f, BlendCopy);
BENCHMARK_CAPTURE(BM_FillRect, copy_half, 0.5f, BlendCopy);
BENCHMARK_CAPTURE(BM_FillRect, copy_weighted, 0.3f, BlendCopy);
BENCHMARK_CAPTURE(BM_FillRect, add, 0.3f, BlendAdd);

// A knob ring: 42 x 42 turned by an arbitrary angle with bilinear sampling and source alpha.
void BM_RotatedBilinear42(benchmark::State& state) {
    MemoryBitmap src(42, 42, 4), dst(64, 64, 4);
    Pattern(src, 4);
    Pattern(dst, 5);
    float angle = 0.0f;
    for (auto _ : state) {
        RotatedBlit(&dst, &src, 11, 11, 42, 42, 0, 0, 42, 42, angle, false, 1.0f,
                    BlendCopy | BlendUseSourceAlpha | BlendFilterBilinear, 0, 0);
        angle += 0.01f;
        benchmark::ClobberMemory();
    }
    SetPixels(state, 42 * 42);
}
BENCHMARK(BM_RotatedBilinear42);

// The console report, then each benchmark's pixel rate as a ratio to memcpy's bytes of the same
// pixels, measured in the same run.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto rate = run.counters.find("items_per_second");
            if (run.error_occurred || rate == run.counters.end()) continue;
            rates.emplace_back(run.benchmark_name(), rate->second.value);
        }
    }
    void PrintRatios() const {
        double reference = 0.0;
        for (const auto& [name, rate] : rates)
            if (name == "BM_Memcpy") reference = rate;
        if (reference <= 0.0) return;
        std::printf("\nMpixel/s and ratio to memcpy of the same bytes (%.0f Mpixel/s), same run\n",
                    reference / 1e6);
        for (const auto& [name, rate] : rates)
            std::printf("%-40s %10.1f %8.3f\n", name.c_str(), rate / 1e6, rate / reference);
    }

  private:
    std::vector<std::pair<std::string, double>> rates;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintRatios();
    return 0;
}
