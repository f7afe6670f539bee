// The Linux editor window, which has no platform window yet: opening fails cleanly (the host is
// told 0 and the record keeps its editor), while ticks paint into the back buffer, the end-edit
// countdown runs and closing flushes it.
#include <gtest/gtest.h>

#include "editor/NewEditorWindow.h"
#include "editor/posix/IOffscreenEditor.h"
#include "tests/support/HeadlessEditor.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TestPlugin.h"

namespace {

class WindowlessEditor : public ::testing::Test {
  protected:
    WindowlessEditor() {
        host.Bind(plugin.effect);
        window = static_cast<IOffscreenEditor*>(NewEditorWindow(plugin.plugin, 60, 40, 0, &token));
        strip = {bitmap.get(), 20, 10, 1};
        window->AttachControl(new CountingBitmap(plugin.plugin, 0, 0, -1, strip, BlendReplace));
        knob = new CountingBitmap(plugin.plugin, 30, 20, 0, strip, BlendReplace);
        window->AttachControl(knob);
        plugin.plugin->AttachEditor(std::unique_ptr<IEditorLink>(window));
    }

    int token = 0;
    PluginUnderTest plugin;
    RecordingHost& host = plugin.host;
    std::unique_ptr<MemoryBitmap> bitmap = SolidBitmap(20, 10, 0xFF00FF00);
    IImageStrip strip;
    IOffscreenEditor* window;
    CountingBitmap* knob;
};

TEST_F(WindowlessEditor, OpeningAnswersZeroAndKeepsTheEditor) {
    EXPECT_EQ(window->instance, &token);
    EXPECT_EQ(plugin.Dispatch(effEditOpen, 0, 0, nullptr), 0);
    int parent = 0;
    EXPECT_EQ(plugin.Dispatch(effEditOpen, 0, 0, &parent), 0);
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(window->NativeWindow(), nullptr);
    EXPECT_NE(plugin.effect->flags & effFlagsHasEditor, 0);
    ERect* rect = nullptr;
    EXPECT_EQ(plugin.Dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right, 60);
    EXPECT_EQ(rect->bottom, 40);
    EXPECT_EQ(plugin.Dispatch(effEditClose), 1);
    EXPECT_EQ(plugin.Dispatch(effVendorSpecific, 0x73744341, 0x57686565, nullptr, 2.0f), 0);
}

TEST_F(WindowlessEditor, TicksPaintTheBackBuffer) {
    window->Tick();
    EXPECT_EQ(knob->paints, 1);
    DibBitmap* buffer = window->BackBuffer();
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->Bits()[25 * buffer->RowSpan() + 35], 0xFF00FF00u);
    window->Tick();  // the value pushed on attaching asks for one more paint
    window->Tick();
    EXPECT_EQ(knob->paints, 2);
}

TEST_F(WindowlessEditor, WheelGestureEndsAfterTheCountdownOrOnClose) {
    window->HandleMouseWheel(35, 25, {}, 2);
    EXPECT_EQ(window->endEditTicks, 12);
    for (int i = 0; i < 12; ++i) window->Tick();
    EXPECT_EQ(host.CountOf(audioMasterEndEdit), 1);
    window->HandleMouseWheel(35, 25, {}, -1);
    plugin.Dispatch(effEditClose);
    EXPECT_EQ(host.CountOf(audioMasterBeginEdit), 2);
    EXPECT_EQ(host.CountOf(audioMasterEndEdit), 2);
}

TEST_F(WindowlessEditor, SetSizeResizesTheBackBuffer) {
    window->SetSize(90, 70);
    EXPECT_EQ(window->BackBuffer()->Width(), 90);
    EXPECT_EQ(window->BackBuffer()->Height(), 70);
    EXPECT_EQ(window->ControlCount(), 0);
    window->Tick();  // nothing left to paint
}

// Without embedded images an id yields the empty strip.
TEST_F(WindowlessEditor, UnknownImageGivesAnEmptyStrip) {
    const IImageStrip missing = window->LoadImageStrip(4242, "none", 2);
    EXPECT_EQ(missing.bitmap, nullptr);
    EXPECT_EQ(missing.frames, 2);
}

}  // namespace
