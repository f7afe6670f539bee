#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "editor/IEditorGraphics.h"
#include "effect/GRAPH.h"
#include "effect/VSTCLASS.h"

namespace {

constexpr IPixelRect kWhole{0, 0, 480, 260};

// The effect with its editor painted once, so that fonts and the ring crop exist.
struct Painted {
    Painted() : editor(dynamic_cast<IEditorGraphics*>(effect.Editor())) {
        editor->MarkAllDirty();
        editor->PaintArea(kWhole);
        editor->PaintArea(kWhole);
    }
    // One timer tick: the union of the dirty controls, repainted.
    void Tick() {
        IPixelRect dirty;
        if (editor->CollectDirty(dirty)) editor->PaintArea(dirty);
    }
    GRAPH* PanBar() { return dynamic_cast<GRAPH*>(editor->Control(1)); }

    VSTCLASS effect;
    IEditorGraphics* editor;
};

// The reference: copying the back buffer's bytes once.
void BM_BackBufferMemcpy(benchmark::State& state) {
    std::vector<uint32_t> a(480 * 260, 1), b(480 * 260, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BackBufferMemcpy);

void BM_FullRepaint(benchmark::State& state) {
    Painted p;
    for (auto _ : state) {
        p.editor->MarkAllDirty();
        p.editor->PaintArea(kWhole);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullRepaint);

// Only the pan bar is dirty, and it moves every tick as it does while audio plays.
void BM_IdleTick(benchmark::State& state) {
    Painted p;
    GRAPH* bar = p.PanBar();
    float pan = 0.5f;
    for (auto _ : state) {
        bar->shownPan = pan;
        pan = -pan;
        p.Tick();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_IdleTick);

// One drag step on the Pan Width knob (value to the parameter, the host told) and the tick that
// repaints it with the pan bar.
void BM_KnobDragRepaint(benchmark::State& state) {
    Painted p;
    IMouseKeys keys;
    keys.left = true;
    p.editor->HandleMouseDown(276, 119, keys);
    int y = 119;
    int step = -1;
    for (auto _ : state) {
        if (y < 60 || y > 180) step = -step;
        y += step;
        p.editor->HandleMouseDrag(276, y, keys);
        p.Tick();
        benchmark::ClobberMemory();
    }
    p.editor->HandleMouseUp(276, y, keys);
}
BENCHMARK(BM_KnobDragRepaint);

// The console report, followed by each case's CPU time as a ratio to the memcpy reference of the
// same run (the fastest repetition of each, as the least disturbed on a shared machine).
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
            const double us = run.cpu_accumulated_time / static_cast<double>(run.iterations) * 1e6;
            const std::string name = run.run_name.function_name;
            auto [it, added] = fastest.emplace(name, us);
            if (!added) it->second = std::min(it->second, us);
            if (added) order.push_back(name);
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto reference = fastest.find("BM_BackBufferMemcpy");
        if (reference == fastest.end() || reference->second <= 0) return;
        std::printf("\n%-22s %12s %10s\n", "case", "CPU us", "x memcpy");
        for (const std::string& name : order)
            std::printf("%-22s %12.2f %10.3f\n", name.c_str(), fastest[name],
                        fastest[name] / reference->second);
    }

  private:
    std::map<std::string, double> fastest;
    std::vector<std::string> order;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
