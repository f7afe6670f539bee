// An open X11 editor, its idle calls and input, while audio renders and the host sets parameters
// on another thread: the window's work never races the audio path (run under ThreadSanitizer).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "editor/x11/IEditorWindow.h"
#include "tests/editor/x11/X11TestDisplay.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/NewVstPlugin.h"
#include "tests/support/TestEditorEffect.h"

TEST(X11EditorStress, EditorOpenWhileAudioRendersOnAnotherThread) {
    X11TestDisplay display;
    if (!display.Ok()) GTEST_SKIP() << "no X display (DISPLAY unset) or no XTest: X11 stress test skipped";
    const uint32_t parent = display.CreateParent(0, 0, 400, 300);
    RecordingHost host;
    auto* plugin = new TestEditorEffect(nullptr);
    AEffect* effect = NewVstPlugin(plugin, &RecordingHost::Callback);
    host.Bind(effect);
    auto dispatch = [&](int32_t opcode, intptr_t value = 0, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
    };
    dispatch(effSetSampleRate);
    dispatch(effMainsChanged, 1);
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(parent))), 1);

    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> left(256), right(256);
        float* ins[] = {left.data(), right.data()};
        float* outs[] = {left.data(), right.data()};
        for (int block = 0; !stop; ++block) {
            effect->setParameter(effect, block % 3, static_cast<float>(block % 100) / 100.0f);
            effect->processReplacing(effect, ins, outs, 256);
        }
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
    for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
        display.MoveTo(30 + i % 150, 30);
        if (i % 7 == 0) {
            display.Button(4, true);
            display.Button(4, false);
        }
        dispatch(effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    stop = true;
    audio.join();
    dispatch(effEditClose);
    dispatch(effClose);
    display.Destroy(parent);
}
