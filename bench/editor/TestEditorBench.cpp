// Repaint cost of an editor the size of the effect's (480 x 260): a background and ten
// 48 x 48 controls with source alpha. Each case has a reference that copies the same pixels
// row by row with memcpy, so the ratio of the two is what painting costs over moving the bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "tests/support/HeadlessEditor.h"
#include "tests/support/TestCore.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 260;
constexpr int kControl = 48;
constexpr int kBackgroundId = 700;
constexpr int kKnobId = 701;

struct TestEditor {
    TestEditor() {
        HeadlessEditor::DefineImage(kBackgroundId, {kWidth, kHeight, 0xFF303840});
        HeadlessEditor::DefineImage(kKnobId, {kControl * 4, kControl, 0xC0E0A020});
        editor = new HeadlessEditor(&core, kWidth, kHeight);
        editor->AttachBackground(kBackgroundId, "background");
        const IImageStrip strip = editor->LoadImageStrip(kKnobId, "knob", 4);
        for (int i = 0; i < 10; ++i)
            editor->AttachControl(
                new IBitmapControl(&core, 20 + (i % 5) * 90, 40 + (i / 5) * 110, i % 9, strip, BlendNormal));
        core.AttachEditor(std::unique_ptr<IEditorLink>(editor));
    }
    TestCore core;
    HeadlessEditor* editor;  // owned by the core
};

// memcpy of a width x height block of rows between two editor-sized buffers.
void CopyRows(benchmark::State& state, int width, int height) {
    std::vector<uint32_t> from(kWidth * kHeight, 1), to(kWidth * kHeight, 2);
    for (auto _ : state) {
        for (int y = 0; y < height; ++y)
            std::memcpy(&to[static_cast<size_t>(y) * kWidth], &from[static_cast<size_t>(y) * kWidth],
                        static_cast<size_t>(width) * sizeof(uint32_t));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}

void BM_CopyFullEditor(benchmark::State& state) {
    CopyRows(state, kWidth, kHeight);
}
BENCHMARK(BM_CopyFullEditor);

// Everything dirty, the whole editor repainted: background, then every control.
void BM_FullRepaint(benchmark::State& state) {
    TestEditor t;
    const IPixelRect all(0, 0, kWidth, kHeight);
    for (auto _ : state) {
        t.editor->MarkAllDirty();
        t.editor->PaintArea(all);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_FullRepaint);

void BM_CopyOneControl(benchmark::State& state) {
    CopyRows(state, kControl, kControl);
}
BENCHMARK(BM_CopyOneControl);

// A timer tick with one control dirty: collect, repaint its area (background and control), clean.
void BM_IdleTickOneDirtyControl(benchmark::State& state) {
    TestEditor t;
    t.editor->Tick();
    t.editor->Tick();
    IControl* knob = t.editor->Control(3);
    for (auto _ : state) {
        knob->MarkDirty(false);
        t.editor->Tick();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kControl * kControl);
}
BENCHMARK(BM_IdleTickOneDirtyControl);

// A timer tick with nothing dirty: only the walk over the controls.
void BM_IdleTickNothingDirty(benchmark::State& state) {
    TestEditor t;
    t.editor->Tick();
    t.editor->Tick();
    for (auto _ : state) {
        t.editor->Tick();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_IdleTickNothingDirty);

}  // namespace

BENCHMARK_MAIN();
