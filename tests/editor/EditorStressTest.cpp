// The editor beside the host's threads: an audio thread processing, a control thread setting
// parameters, texts, programs and chunks (which push values into the controls), and an editor
// thread ticking, painting and sending mouse input — all at once on one instance; and two editors
// drawing text on two threads. Meant for the ThreadSanitizer build; elsewhere it checks that
// nothing crashes or deadlocks.
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <string>
#include <thread>

#include "editor/ISwitchControl.h"
#include "editor/ITextStyle.h"
#include "tests/editor/EditorFixture.h"

class EditorStress : public EditorFixture {
  protected:
    static constexpr int kKnobId = 920;

    EditorStress() {
        HeadlessEditor::DefineImage(kKnobId, {60, 10, 0xFF20A020});
        const IImageStrip strip = editor->LoadImageStrip(kKnobId, "knob", 3);
        for (int i = 0; i < 4; ++i) Add(new CountingBitmap(plugin, 5 + 22 * i, 10, i, strip));
        Add(new ISwitchControl(plugin, 5, 40, 2, strip));
        Attach();
        Dispatch(effSetBlockSize, 0, kBlock);
        Dispatch(effMainsChanged, 0, 1);
    }
    static constexpr int kBlock = 64;
};

TEST_F(EditorStress, AudioControlAndEditorThreads) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    std::atomic<bool> running{true};

    std::thread audio([&] {
        std::vector<float> inL(kBlock, 0.5f), inR(kBlock, -0.5f), outL(kBlock), outR(kBlock);
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        while (running.load(std::memory_order_relaxed)) effect->processReplacing(effect, in, out, kBlock);
    });

    std::thread control([&] {
        std::vector<uint8_t> chunk;
        for (int i = 0; running.load(std::memory_order_relaxed); ++i) {
            effect->setParameter(effect, i % 4, static_cast<float>(i % 11) / 10.0f);
            effect->getParameter(effect, (i + 1) % 4);
            char text[16];
            std::snprintf(text, sizeof text, "%d", i % 6);
            Dispatch(effString2Parameter, i % 4, 0, text);
            if (i % 7 == 0) Dispatch(effSetProgram, 0, i % 4);
            if (i % 13 == 0) {
                void* data = nullptr;
                const intptr_t n = Dispatch(effGetChunk, 1, 0, &data);
                if (n > 0) {
                    chunk.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + n);
                    Dispatch(effSetChunk, 1, n, chunk.data());
                }
            }
            if (i % 17 == 0) {
                // The effect moving a control as if by hand, from the host's thread.
                std::lock_guard<std::recursive_mutex> hold(plugin->Lock());
                editor->SetBoundControlsFromUser(i % 4, (i % 5) / 4.0);
                // Its correction's begin-edit ends a pending wheel gesture, cancelling the
                // countdown the editor thread runs.
                plugin->HostBeginEdit(i % 4);
                plugin->HostEndEdit(i % 4);
            }
        }
    });

    // The editor thread: timer ticks, presses, drags, releases, wheel notches, double clicks.
    int ticks = 0;
    for (int i = 0; std::chrono::steady_clock::now() < until; ++i) {
        const int x = 5 + 22 * (i % 4) + 5, y = 15;
        editor->HandleMouseDown(x, y, {});
        editor->HandleMouseDrag(x + 3, y - i % 7, {});
        editor->HandleMouseUp(x + 3, y, {});
        editor->HandleMouseWheel(x, y, {}, (i % 3) - 1);
        if (i % 9 == 0) {
            editor->HandleDoubleClick(x, y, {});
            editor->HandleMouseUp(x, y, {});
        }
        if (i % 5 == 0) {
            editor->HandleMouseDown(10, 45, {});
            editor->HandleMouseUp(10, 45, {});
        }
        editor->Tick();
        ++ticks;
    }
    running = false;
    audio.join();
    control.join();
    Dispatch(effEditClose);

    EXPECT_GT(ticks, 10);
    // Every gesture the host saw is closed.
    int open = 0;
    for (const RecordingHost::Call& call : host.calls) {
        if (call.opcode == audioMasterBeginEdit) ++open;
        if (call.opcode == audioMasterEndEdit) --open;
    }
    EXPECT_EQ(open, 0);
}

// Painting never waits for the plug-in's lock: a host call holding it (audio, say) cannot stall
// the editor, and the editor cannot stall audio by painting.
TEST_F(EditorStress, PaintingDoesNotTakeThePluginLock) {
    std::unique_lock<std::recursive_mutex> hold(plugin->Lock());
    auto painted = std::async(std::launch::async, [&] {
        editor->MarkAllDirty();
        editor->Tick();
        editor->PaintArea(IPixelRect(0, 0, kWidth, kHeight));
        return true;
    });
    const bool finished = painted.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    hold.unlock();
    EXPECT_TRUE(finished);
    painted.wait();
}

// Hosts may give each editor its own thread. Two editors draw labels at once: through the font
// they share from the cache (opaque, by the platform renderer; translucent, by the glyph cache
// while it grows), and through a font of their own. Each draws in its own colour onto black, so
// a colour taken from the other editor shows as a foreign channel.
TEST_F(EditorStress, TwoEditorsDrawTextOnTwoThreads) {
    HeadlessEditor second(plugin, kWidth, kHeight);
    ITextStyle probe(14, IArgb());
    if (editor->FindFont(probe) == nullptr) GTEST_SKIP() << "this platform makes no fonts";

    auto draw = [&](HeadlessEditor* target, IArgb colour, int ownSize, uint32_t foreignMask) {
        target->PrepareDrawing();
        ITextStyle opaque(14, colour), translucent(14, IArgb(200, colour.R, colour.G, colour.B)),
            own(ownSize, colour);
        int foreign = 0;
        for (int i = 0; i < 300; ++i) {
            // Characters the glyph cache has not seen yet, two bytes of UTF-8 each.
            const int code = 0xA0 + i;
            const std::string text = {'A', static_cast<char>(0xC0 | code >> 6),
                                      static_cast<char>(0x80 | (code & 0x3F))};
            target->FillRect(IArgb(255, 0, 0, 0), IPixelRect(0, 0, kWidth, kHeight));
            target->DrawLabel(opaque, text.c_str(), IPixelRect(0, 0, kWidth, 20));
            target->DrawLabel(translucent, text.c_str(), IPixelRect(0, 20, kWidth, 40));
            target->DrawLabel(own, text.c_str(), IPixelRect(0, 40, kWidth, 60));
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) foreign += (target->Pixel(x, y) & foreignMask) != 0;
        }
        return foreign;
    };
    auto red = std::async(std::launch::async, draw, editor, IArgb(255, 255, 0, 0), 11, 0x0000FFFFu);
    const int blueForeign = draw(&second, IArgb(255, 0, 0, 255), 13, 0x00FFFF00u);
    EXPECT_EQ(red.get(), 0);
    EXPECT_EQ(blueForeign, 0);
}
