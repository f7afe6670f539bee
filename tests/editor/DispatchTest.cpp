// Mouse and key dispatch: which control is hit, capture between press and release, drags,
// double clicks, wheel gestures and their delayed end, hover, and hostile coordinates.
#include <algorithm>
#include <chrono>
#include <climits>
#include <mutex>
#include <thread>

#include "tests/editor/EditorFixture.h"

class MouseDispatch : public EditorFixture {
  protected:
    MouseDispatch() {
        lower = Add(new ProbeControl(plugin, IPixelRect(10, 10, 50, 50), 0));
        upper = Add(new ProbeControl(plugin, IPixelRect(30, 30, 70, 70), 1));
        Attach();
    }
    ProbeControl* lower;
    ProbeControl* upper;
};

// Later controls lie on top; greyed and hidden ones are transparent; the background catches the rest.
TEST_F(MouseDispatch, HitTestPrefersLaterVisibleControls) {
    EXPECT_EQ(editor->ControlAt(40, 40), 2);
    EXPECT_EQ(editor->ControlAt(20, 20), 1);
    EXPECT_EQ(editor->ControlAt(5, 5), 0);
    EXPECT_EQ(editor->ControlAt(70, 70), 0);  // right and bottom are exclusive
    upper->SetGreyed(true);
    EXPECT_EQ(editor->ControlAt(40, 40), 1);
    upper->SetGreyed(false);
    upper->SetHidden(true);
    EXPECT_EQ(editor->ControlAt(40, 40), 1);
    EXPECT_EQ(editor->ControlAt(-5, 500), -1);
}

TEST_F(MouseDispatch, PressedControlKeepsTheMouseUntilRelease) {
    editor->HandleMouseDown(40, 40, {});
    editor->HandleMouseDrag(90, 5, {});
    editor->HandleMouseUp(95, 2, {});
    EXPECT_EQ(upper->calls, (std::vector<std::string>{"down 40,40", "drag 90,5", "up 95,2"}));
    EXPECT_EQ(upper->drags, (std::vector<std::pair<int, int>>{{50, -35}}));
    EXPECT_EQ(Gestures(), (std::vector<std::string>{"B1", "E1"}));
    EXPECT_EQ(editor->captureIndex, -1);
    // With the capture gone the next release lands where the pointer is, but ends no gesture: its
    // press began none (it closed a popup, say).
    editor->HandleMouseUp(20, 20, {});
    EXPECT_EQ(lower->calls, (std::vector<std::string>{"up 20,20"}));
    EXPECT_EQ(Gestures(), (std::vector<std::string>{"B1", "E1"}));
}

TEST_F(MouseDispatch, DragWithoutMovementIsNotDelivered) {
    editor->HandleMouseDown(20, 20, {});
    editor->HandleMouseDrag(20, 20, {});
    editor->HandleMouseDrag(21, 20, {});
    editor->HandleMouseDrag(21, 20, {});
    EXPECT_EQ(lower->calls, (std::vector<std::string>{"down 20,20", "drag 21,20"}));
    // No capture, no drag.
    editor->HandleMouseUp(21, 20, {});
    editor->HandleMouseDrag(30, 20, {});
    EXPECT_EQ(lower->calls.size(), 3u);
}

// A double click restores the default, or for controls that want it, is a second press.
TEST_F(MouseDispatch, DoubleClickIsAPressWhenTheControlAsksForIt) {
    EXPECT_FALSE(editor->HandleDoubleClick(20, 20, {}));
    EXPECT_EQ(lower->calls, (std::vector<std::string>{"double 20,20"}));
    EXPECT_EQ(editor->captureIndex, -1);
    upper->doubleClickAsPress = true;
    host.calls.clear();
    EXPECT_TRUE(editor->HandleDoubleClick(60, 60, {}));
    EXPECT_EQ(upper->calls, (std::vector<std::string>{"down 60,60"}));
    editor->HandleMouseDrag(61, 62, {});
    editor->HandleMouseUp(61, 62, {});
    EXPECT_EQ(upper->calls.back(), "up 61,62");
    EXPECT_EQ(Gestures(), (std::vector<std::string>{"B1", "E1"}));
}

// A burst of notches is one host gesture that ends 12 ticks (at 24 per second) after the last.
TEST_F(MouseDispatch, WheelBurstIsOneGestureEndingTwelveTicksLater) {
    for (int i = 0; i < 5; ++i) {
        editor->HandleMouseWheel(20, 20, {}, 1);
        editor->Tick();
    }
    EXPECT_NEAR(lower->value, 0.05, 1e-12);
    for (int i = 0; i < 10; ++i) editor->Tick();
    std::vector<std::string> gestures = Gestures();
    EXPECT_EQ(std::count(gestures.begin(), gestures.end(), "B0"), 1);
    EXPECT_EQ(std::count(gestures.begin(), gestures.end(), "E0"), 0);
    editor->Tick();
    gestures = Gestures();
    EXPECT_EQ(gestures.front(), "B0");
    EXPECT_EQ(gestures.back(), "E0");
    EXPECT_EQ(std::count(gestures.begin(), gestures.end(), "A0"), 5);
    EXPECT_EQ(plugin->PendingEndEdit(), -1);
}

TEST_F(MouseDispatch, WheelOnAnotherParameterEndsThePendingGestureFirst) {
    editor->HandleMouseWheel(20, 20, {}, 1);
    editor->HandleMouseWheel(60, 60, {}, -1);
    EXPECT_EQ(Gestures(), (std::vector<std::string>{"B0", "A0", "E0", "B1", "A1"}));
    // Closing the editor never leaves the gesture open.
    Dispatch(effEditClose);
    EXPECT_EQ(Gestures().back(), "E1");
    EXPECT_EQ(editor->endEditTicks, 0);
}

// A host thread's begin-edit arriving while a notch continues a pending wheel gesture waits for the
// notch: the gesture it ends is not reopened behind its back, and every end has its begin.
TEST_F(MouseDispatch, HostBeginEditDuringAWheelNotchKeepsTheGesturesWhole) {
    class Interrupted : public ProbeControl {
      public:
        using ProbeControl::ProbeControl;
        void MouseWheel(int x, int y, const IMouseKeys& keys, int notches) override {
            if (interrupt) {
                other = std::thread([this] {
                    std::lock_guard<std::recursive_mutex> hold(plug->Lock());  // as the adapters enter
                    plug->HostBeginEdit(1);
                    plug->HostEndEdit(1);
                });
                // Give the host thread its chance to run in the middle of the notch.
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            ProbeControl::MouseWheel(x, y, keys, notches);
        }
        bool interrupt = false;
        std::thread other;
    };
    auto* wheel = new Interrupted(plugin, IPixelRect(0, 70, 10, 80), 0);
    Add(wheel);
    editor->HandleMouseWheel(5, 75, {}, 1);
    wheel->interrupt = true;
    editor->HandleMouseWheel(5, 75, {}, 1);
    wheel->other.join();
    for (int i = 0; i < 12; ++i) editor->Tick();
    EXPECT_EQ(Gestures(), (std::vector<std::string>{"B0", "A0", "A0", "E0", "B1", "E1"}));
}

TEST_F(MouseDispatch, KeysGoToTheControlUnderThePointer) {
    editor->HandleKeyDown(60, 60, 15);
    editor->HandleKeyDown(-1, -1, 16);
    EXPECT_EQ(upper->calls, (std::vector<std::string>{"key 15"}));
}

// Hover reports only when asked for; the control left behind hears MouseOut.
TEST_F(MouseDispatch, HoverReportsEnterAndLeave) {
    EXPECT_FALSE(editor->HandleMouseOver(20, 20, {}));
    EXPECT_TRUE(lower->calls.empty());
    editor->trackMouseOver = true;
    EXPECT_TRUE(editor->HandleMouseOver(20, 20, {}));
    EXPECT_TRUE(editor->HandleMouseOver(60, 60, {}));
    EXPECT_TRUE(editor->HandleMouseOver(-100, 5, {}));  // nothing there: nothing changes
    EXPECT_EQ(editor->overIndex, 2);
    EXPECT_EQ(lower->calls, (std::vector<std::string>{"over 20,20", "out"}));
    editor->HandleMouseOut();
    EXPECT_EQ(editor->overIndex, -1);
    EXPECT_EQ(upper->calls, (std::vector<std::string>{"over 60,60", "out"}));
}

// Coordinates far outside the editor and at the ends of the integer range hit nothing and move
// nothing; a drag between the extremes is reported without overflow.
TEST_F(MouseDispatch, ExtremeCoordinatesAreHarmless) {
    for (int v : {INT_MIN, -100000, 100000, INT_MAX}) {
        editor->HandleMouseDown(v, v, {});
        editor->HandleMouseUp(v, -v - 1, {});
        editor->HandleDoubleClick(v, 0, {});
        editor->HandleMouseWheel(0, v, {}, INT_MAX);
        editor->HandleKeyDown(v, v, 40);
        editor->HandleMouseOver(v, v, {});
    }
    EXPECT_TRUE(lower->calls.empty());
    EXPECT_TRUE(Gestures().empty());
    editor->HandleMouseDown(20, 20, {});
    editor->HandleMouseDrag(INT_MAX, INT_MIN, {});
    editor->HandleMouseDrag(INT_MIN, INT_MAX, {});
    editor->HandleMouseUp(INT_MIN, INT_MAX, {});
    EXPECT_EQ(lower->drags, (std::vector<std::pair<int, int>>{{INT_MAX - 20, INT_MIN}, {INT_MIN, INT_MAX}}));
    EXPECT_EQ(Gestures(), (std::vector<std::string>{"B0", "E0"}));
}

// Resizing deletes the controls, so a capture must not survive it.
TEST_F(MouseDispatch, SetSizeDropsControlsAndCapture) {
    editor->HandleMouseDown(20, 20, {});
    editor->SetSize(200, 150);
    EXPECT_EQ(editor->ControlCount(), 0);
    EXPECT_EQ(editor->captureIndex, -1);
    editor->HandleMouseDrag(30, 30, {});
    editor->HandleMouseUp(30, 30, {});
    EXPECT_EQ(editor->ControlAt(30, 30), -1);
    const ERect& r = IVstPlugin::FromEffect(effect)->EditorRect();
    EXPECT_EQ(r.right, 200);
    EXPECT_EQ(r.bottom, 150);
}
