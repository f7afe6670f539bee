// Vesmar's editor painted on its own thread, without the plug-in's lock, while a host thread sets
// parameters and loads programs and an audio thread processes notes: the knobs print the values the
// other threads write and the pan bar shows what the audio publishes. Meant for the
// ThreadSanitizer build; elsewhere it checks that nothing crashes or deadlocks.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "editor/IEditorGraphics.h"
#include "tests/effect/EngineProbe.h"

TEST(EditorThreads, PaintingBesideHostAndAudioThreads) {
    FakeHost host;
    EngineProbe effect;
    effect.Open();
    // The host's threads come in with the lock held, as every adapter calls the core.
    auto locked = [&effect](auto call) {
        std::lock_guard<std::recursive_mutex> hold(effect.Lock());
        call();
    };
    locked([&] {
        effect.SetSampleRate(44100.0);
        effect.SetBlockSize(64);
        effect.OnActivate(true);
    });
    auto& editor = *dynamic_cast<IEditorGraphics*>(effect.Editor());
    std::atomic<bool> running{true};

    std::thread audio([&] {
        std::vector<float> inL(64, 0.5f), inR(64, -0.5f), outL(64), outR(64);
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        while (running.load(std::memory_order_relaxed)) {
            locked([&] {
                effect.AttachInputs(in, 64);
                effect.AttachOutputs(out);
                effect.RunReplacing(64);
            });
        }
    });

    std::thread control([&] {
        for (int i = 0; running.load(std::memory_order_relaxed); ++i) {
            effect.ApplyParameterFromHost(i % 9, static_cast<double>(i % 11) / 10.0, true);
            if (i % 29 == 0)
                locked([&] {
                    effect.StoreCurrentProgram(nullptr);
                    effect.SelectProgram(i % 6);
                });
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
