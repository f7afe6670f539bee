// The editor as a view in a real window: opened, ticked by the host's run loop (Linux), closed
// with nothing left behind, twice.
#include <cstring>

#include "tests/vst3/ParentWindow.h"
#include "tests/vst3/Vst3Fixture.h"
#include "tools/vsthost/host/vst3/HostFrame.h"

namespace {

using Vst3Editor = Vst3Fixture;

#ifdef _WIN32
constexpr const char* kType = vst3::kPlatformTypeHWND;
constexpr const char* kOtherType = vst3::kPlatformTypeX11EmbedWindowID;
constexpr size_t kTimers = 0;  // the window's own timer and messages run on the message loop
#else
constexpr const char* kType = vst3::kPlatformTypeX11EmbedWindowID;
constexpr const char* kOtherType = vst3::kPlatformTypeHWND;
constexpr size_t kTimers = 1;
#endif

}  // namespace

TEST_F(Vst3Editor, OpensInARealWindowAndLeavesNothingBehind) {
    ParentWindow parent;
    if (!parent.Ok()) GTEST_SKIP() << "no display";
    HostFrame frame;
    EXPECT_EQ(controller->createView("other"), nullptr);
    vst3::IPlugView* view = controller->createView(vst3::kEditorViewType);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported(kType), vst3::kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported(kOtherType), vst3::kResultFalse);
    EXPECT_EQ(view->canResize(), vst3::kResultFalse);
    vst3::ViewRect size{};
    ASSERT_EQ(view->getSize(&size), vst3::kResultOk);
    EXPECT_GT(size.right, 0);
    EXPECT_GT(size.bottom, 0);
    vst3::ViewRect asked{5, 5, 1000, 1000};
    ASSERT_EQ(view->checkSizeConstraint(&asked), vst3::kResultOk);
    EXPECT_EQ(asked.right - asked.left, size.right);

    ASSERT_EQ(view->setFrame(&frame), vst3::kResultOk);
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(view->attached(parent.Handle(), kType), vst3::kResultOk) << round;
        EXPECT_EQ(parent.ChildCount(), 1);
        EXPECT_EQ(frame.TimerCount(), kTimers);
        EXPECT_EQ(frame.EventHandlerCount(), kTimers);  // the window connection's fd
        int calls = 0;
        for (int i = 0; i < 6; ++i) calls += frame.Dispatch(50);
        EXPECT_GE(calls, static_cast<int>(kTimers));
        ASSERT_EQ(view->removed(), vst3::kResultOk);
        EXPECT_EQ(frame.TimerCount(), 0u);
        EXPECT_EQ(frame.EventHandlerCount(), 0u);
        frame.Dispatch(0);
        EXPECT_EQ(parent.ChildCount(), 0);
    }
    view->setFrame(nullptr);
    view->release();
    EXPECT_EQ(frame.ExtraReferences(), 0u);
}
