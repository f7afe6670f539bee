// The editor as the host and the plug-in see it: flag and rectangle on attaching, the editor
// opcodes, values pushed by host calls, controls moved by the effect, and the value rules at the
// boundary (plain values converted, out-of-range indices ignored).
#include "tests/editor/EditorFixture.h"

using EditorLink = EditorFixture;

TEST_F(EditorLink, AttachingSetsTheFlagAndTheRectangle) {
    ERect* rect = nullptr;
    EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(effect->flags & effFlagsHasEditor, 0);
    Attach();
    EXPECT_NE(effect->flags & effFlagsHasEditor, 0);
    EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, kHeight);
    EXPECT_EQ(rect->right, kWidth);
    EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, nullptr), 0);
    EXPECT_NE(editor->BackBuffer(), nullptr);
    EXPECT_EQ(editor->BackBuffer()->Width(), kWidth);
}

// Without a platform window opening fails: 0, no OnEditorOpened, and the record still says it
// has an editor. Closing always reaches the editor.
TEST_F(EditorLink, OpenWithoutAWindowAnswersZeroAndCloseStillWorks) {
    Attach();
    EXPECT_EQ(Dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin->opened, 0);
    EXPECT_NE(effect->flags & effFlagsHasEditor, 0);
    EXPECT_EQ(Dispatch(effEditClose), 1);
    EXPECT_EQ(Dispatch(effEditClose), 1);
    EXPECT_EQ(plugin->closed, 2);
    // The host's wheel forwarding finds no window under the pointer.
    EXPECT_EQ(Dispatch(effVendorSpecific, 0x73744341, 0x57686565, nullptr, 3.0f), 0);
}

TEST(EditorLinkWithoutEditor, EditorOpcodesAnswerZero) {
    EditorPlugin* plugin = new EditorPlugin(TestPlugin::Options{});
    RecordingHost host;
    AEffect* e = NewVstPlugin(plugin, &RecordingHost::Callback);
    host.Bind(e);
    EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(e->dispatcher(e, effEditClose, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(e->dispatcher(e, effVendorSpecific, 0x73744341, 0x57686565, nullptr, 1.0f), 0);
    EXPECT_EQ(plugin->closed, 0);
    e->dispatcher(e, effClose, 0, 0, nullptr, 0);
}

TEST_F(EditorLink, HostValuesReachTheBoundControls) {
    auto* steps = Add(new ProbeControl(plugin, IPixelRect(0, 0, 10, 10), 0));
    auto* mode = Add(new ProbeControl(plugin, IPixelRect(10, 0, 20, 10), 1));
    auto* modeToo = Add(new ProbeControl(plugin, IPixelRect(20, 0, 30, 10), 1));
    Attach();
    effect->setParameter(effect, 0, 0.6f);
    EXPECT_NEAR(steps->value, 0.6, 1e-7);
    char text[] = "Hard";
    EXPECT_EQ(Dispatch(effString2Parameter, 1, 0, text), 1);
    EXPECT_DOUBLE_EQ(mode->value, 1.0);
    EXPECT_DOUBLE_EQ(modeToo->value, 1.0);
    EXPECT_DOUBLE_EQ(plugin->Parameter(1)->PlainValue(), 2.0);
    // Plain values are converted by the parameter; unknown indices change nothing.
    editor->ShowParameterValue(0, 1.0, false);
    EXPECT_DOUBLE_EQ(steps->value, 0.2);
    editor->ShowParameterValue(99, 1.0, false);
    editor->ShowParameterValue(-1, 0.5, true);
    effect->setParameter(effect, 4, 0.5f);
    EXPECT_DOUBLE_EQ(steps->value, 0.2);
    EXPECT_TRUE(Gestures().empty());
}

// The effect moves a control as if by hand: the value goes back to the parameter and the host.
TEST_F(EditorLink, BoundControlsSetFromUserPushToTheHost) {
    auto* steps = Add(new ProbeControl(plugin, IPixelRect(0, 0, 10, 10), 0));
    Attach();
    editor->SetBoundControlsFromUser(0, 0.4);
    EXPECT_DOUBLE_EQ(steps->value, 0.4);
    EXPECT_DOUBLE_EQ(plugin->Parameter(0)->PlainValue(), 2.0);
    EXPECT_EQ(Gestures(), (std::vector<std::string>{"A0"}));
    EXPECT_TRUE(steps->redraw);
}

// The record's rectangle follows the editor's size, cut to 16 bits as the host reads it.
TEST_F(EditorLink, SizeChangesReachTheRectangle) {
    Attach();
    editor->SetSize(70000, 300);
    ERect* rect = nullptr;
    Dispatch(effEditGetRect, 0, 0, &rect);
    EXPECT_EQ(rect->right, static_cast<int16_t>(70000));
    EXPECT_EQ(rect->bottom, 300);
    EXPECT_EQ(editor->Width(), 70000);
}

TEST_F(EditorLink, FrameRateDefaultsToTwentyFour) {
    EXPECT_EQ(editor->FrameRate(), 24);
    HeadlessEditor slow(plugin, 1, 1, 10);
    EXPECT_EQ(slow.FrameRate(), 10);
    HeadlessEditor negative(plugin, 1, 1, -3);
    EXPECT_EQ(negative.FrameRate(), 24);
}
