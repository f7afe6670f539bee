// Vesmar's editor painted on its own thread, without the plug-in's lock, while a host thread sets
// parameters and loads programs and an audio thread processes notes: the knobs print the values the
// other threads write and the pan bar shows what the audio publishes. Meant for the
// ThreadSanitizer build; elsewhere it checks that nothing crashes or deadlocks.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "editor/IEditorGraphics.h"
#include "tests/effect/EngineProbe.h"

TEST(EditorThreads, PaintingBesideHostAndAudioThreads) {
    FakeHost host;
    EngineProbe effect;
    effect.Open();
    AEffect* record = effect.Effect();
    record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    record->dispatcher(record, effSetBlockSize, 0, 64, nullptr, 0.0f);
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
    auto& editor = *dynamic_cast<IEditorGraphics*>(effect.Editor());
    std::atomic<bool> running{true};

    std::thread audio([&] {
        std::vector<float> inL(64, 0.5f), inR(64, -0.5f), outL(64), outR(64);
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        while (running.load(std::memory_order_relaxed)) record->processReplacing(record, in, out, 64);
    });

    std::thread control([&] {
        for (int i = 0; running.load(std::memory_order_relaxed); ++i) {
            record->setParameter(record, i % 9, static_cast<float>(i % 11) / 10.0f);
            if (i % 29 == 0) record->dispatcher(record, effSetProgram, 0, i % 6, nullptr, 0.0f);
        }
    });

    // The window's timer: collect, repaint, as often as it can for a while.
    int paints = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    while (std::chrono::steady_clock::now() < until || paints < 200) {
        IPixelRect dirty;
        if (paints % 10 == 0) editor.MarkAllDirty();
        if (editor.CollectDirty(dirty)) editor.PaintArea(dirty);
        ++paints;
    }
    running.store(false);
    audio.join();
    control.join();
    EXPECT_GE(paints, 200);
}
