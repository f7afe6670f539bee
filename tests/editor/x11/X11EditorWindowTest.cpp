// The X11 editor window for real, under an X server (Xvfb in the test command): a host-side
// connection with top-level parent windows, input through XTest, pixels read back from the
// server. Skipped when DISPLAY is unset.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

#include "abi/OffscreenEditor.h"
#include "editor/x11/DrawnPopup.h"
#include "editor/x11/IEditorWindow.h"
#include "tests/editor/x11/X11TestDisplay.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/NewVstPlugin.h"
#include "tests/support/TestEditorEffect.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint8_t kLeft = 1, kRight = 3, kWheelUp = 4;
constexpr uint32_t kReturn = 0xFF0D, kDown = 0xFF54, kUp = 0xFF52, kF1 = 0xFFBE;

uint32_t Rgb(const IArgb& c) {
    return c.Packed() & 0xFFFFFF;
}

// One plug-in instance with the recording host, closed through its record at the end.
struct Instance {
    explicit Instance(const std::string& product = "") {
        host.product = product;
        plugin = new TestEditorEffect(nullptr);
        effect = NewVstPlugin(plugin, &RecordingHost::Callback);
        host.Bind(effect);
    }
    ~Instance() { Dispatch(effClose); }
    intptr_t Dispatch(int32_t opcode, intptr_t value = 0, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
    }
    bool Open(uint32_t parent) {
        return Dispatch(effEditOpen, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(parent))) == 1;
    }
    void Idle() { Dispatch(effEditIdle); }
    IEditorWindow* Editor() const { return static_cast<IEditorWindow*>(plugin->EditorGraphics()); }
    uint32_t Window() const { return Editor()->Window(); }
    double Plain(int index) const { return plugin->Parameter(index)->PlainValue(); }
    int Ends() const { return host.CountOf(audioMasterEndEdit); }

    RecordingHost host;
    TestEditorEffect* plugin;
    AEffect* effect;
};

// Sockets the process holds open.
int OpenSockets() {
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return -1;
    while (dirent* entry = readdir(dir)) {
        struct stat info {};
        const std::string path = std::string("/proc/self/fd/") + entry->d_name;
        if (stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) ++count;
    }
    closedir(dir);
    return count;
}

class X11EditorWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!display.Ok())
            GTEST_SKIP() << "no X display (DISPLAY unset) or no XTest: X11 window tests skipped";
        parent = display.CreateParent(0, 0, 400, 300);
    }
    void TearDown() override {
        if (display.Ok() && parent) display.Destroy(parent);
    }
    // Lets the server deliver what the host did and the editor read it and tick once at least
    // (24 a second): idle calls ~2 ms apart.
    void Settle(Instance& a, int idles = 30) {
        display.Sync();
        for (int i = 0; i < idles; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            a.Idle();
        }
    }
    // Idles every interval until the host has seen an end edit; the time it took.
    double SecondsToEndEdit(Instance& a, std::chrono::milliseconds interval) {
        const int before = a.Ends();
        const auto start = Clock::now();
        while (a.Ends() == before && Clock::now() - start < std::chrono::seconds(3)) {
            std::this_thread::sleep_for(interval);
            a.Idle();
        }
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    // One host connection for the whole program: an X server with no client left resets itself
    // and refuses connections meanwhile, as no host would let it.
    static X11TestDisplay& Shared() {
        static X11TestDisplay shared;
        return shared;
    }
    X11TestDisplay& display = Shared();
    uint32_t parent = 0;
};

TEST_F(X11EditorWindowTest, OpensAChildShowingTheEditorAndReopensInPlace) {
    Instance a;
    ASSERT_TRUE(a.Open(parent));
    const uint32_t first = a.Window();
    EXPECT_EQ(display.Children(parent), std::vector<uint32_t>{first});
    int x = -1, y = -1, w = 0, h = 0;
    ASSERT_TRUE(display.Geometry(first, x, y, w, h));
    EXPECT_EQ(w, TestEditorEffect::kWidth);
    EXPECT_EQ(h, TestEditorEffect::kHeight);
    // Shown at open, before any idle: background and the level bar's track.
    EXPECT_EQ(display.Pixel(first, 5, 5), Rgb(TestEditorEffect::kBackground));
    EXPECT_EQ(display.Pixel(first, 200, 30), Rgb(TestEditorEffect::kTrack));

    // The host moved it; an open on the open editor keeps that place.
    display.Move(first, 30, 20);
    ASSERT_TRUE(a.Open(parent));
    ASSERT_TRUE(display.Geometry(a.Window(), x, y, w, h));
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 20);
    EXPECT_EQ(display.Children(parent).size(), 1u);

    EXPECT_EQ(a.Dispatch(effEditClose), 1);
    display.Sync();
    EXPECT_TRUE(display.Children(parent).empty());
    EXPECT_FALSE(a.Editor()->IsOpen());
    ASSERT_TRUE(a.Open(parent));
    EXPECT_EQ(display.Pixel(a.Window(), 5, 5), Rgb(TestEditorEffect::kBackground));
}

TEST_F(X11EditorWindowTest, OpenFailsCleanlyWithoutDisplayOrParent) {
    Instance a;
    EXPECT_FALSE(a.Open(0));
    EXPECT_FALSE(a.Open(0x7FFFFF));  // no such window
    const std::string saved = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    EXPECT_FALSE(a.Open(parent));
    setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_FALSE(a.Editor()->IsOpen());
    // Still the offscreen editor: its requests are answered.
    OffscreenEditorPixels pixels;
    EXPECT_EQ(a.effect->dispatcher(a.effect, effVendorSpecific, kOffscreenEditorIndex, kOffscreenPixels,
                                   &pixels, 0),
              1);
    ASSERT_TRUE(a.Open(parent));
    EXPECT_EQ(a.effect->dispatcher(a.effect, effVendorSpecific, kOffscreenEditorIndex, kOffscreenPixels,
                                   &pixels, 0),
              0);
}

TEST_F(X11EditorWindowTest, TwoEditorsAtOnceEachGetTheirOwnInput) {
    Instance a, b;
    const uint32_t other = display.CreateParent(500, 0, 400, 300);
    ASSERT_TRUE(a.Open(parent));
    ASSERT_TRUE(b.Open(other));
    display.Click(kRight, 500 + 70, 30);  // on b's level bar
    Settle(a);
    Settle(b);
    EXPECT_EQ(a.Editor()->Popup(), nullptr);
    ASSERT_NE(b.Editor()->Popup(), nullptr);
    a.Dispatch(effEditClose);
    display.Key('7');
    display.Key(kReturn);
    Settle(b);
    EXPECT_DOUBLE_EQ(b.Plain(0), 7.0);
    EXPECT_DOUBLE_EQ(a.Plain(0), 25.0);
    display.Destroy(other);
}

TEST_F(X11EditorWindowTest, PopupsCommitCancelAndChoose) {
    Instance a;
    ASSERT_TRUE(a.Open(parent));
    // The entry: the current text, all selected; typing replaces it, Return commits.
    display.Click(kRight, 70, 30);
    Settle(a);
    const DrawnPopup* entry = a.Editor()->Popup();
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(entry->IsList());
    EXPECT_EQ(entry->Text(), "25.0");
    const IPixelRect box = entry->Rect();
    EXPECT_EQ((box.left + box.right) / 2, 120);
    EXPECT_EQ(display.Pixel(a.Window(), box.left + 2, box.top + 2), 0xFFFFFFu);  // drawn on screen
    for (uint32_t key : {uint32_t{'6'}, uint32_t{'0'}, uint32_t{'5'}, uint32_t{0xFF08}, kReturn})
        display.Key(key);
    Settle(a);
    EXPECT_EQ(a.Editor()->Popup(), nullptr);
    EXPECT_DOUBLE_EQ(a.Plain(0), 60.0);
    EXPECT_EQ(display.Pixel(a.Window(), box.left + 2, box.top + 2), Rgb(TestEditorEffect::kBarColours[0]));

    // A right click on the editor cancels.
    display.Click(kRight, 70, 30);
    Settle(a);
    display.Key('9');
    display.Click(kRight, 70, 110);
    Settle(a);
    EXPECT_EQ(a.Editor()->Popup(), nullptr);
    EXPECT_DOUBLE_EQ(a.Plain(0), 60.0);

    // A left click on the editor commits, and reaches the control beneath as well.
    display.Click(kRight, 70, 30);
    Settle(a);
    display.Key('4');
    display.Click(kLeft, 70, 110);
    Settle(a);
    EXPECT_EQ(a.Editor()->Popup(), nullptr);
    EXPECT_DOUBLE_EQ(a.Plain(0), 4.0);

    // The list: the current entry highlighted; Down and Return choose, so does a click.
    display.Click(kRight, 70, 60);
    Settle(a);
    const DrawnPopup* list = a.Editor()->Popup();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->IsList());
    EXPECT_EQ(list->Highlighted(), 0);
    display.Key(kDown);
    display.Key(kDown);
    display.Key(kUp);
    display.Key(kReturn);
    Settle(a);
    EXPECT_EQ(a.Plain(1), 1.0);  // "Left"
    display.Click(kRight, 70, 60);
    Settle(a);
    ASSERT_NE(a.Editor()->Popup(), nullptr);
    const IPixelRect r = a.Editor()->Popup()->Rect();
    // Kept inside the editor, clipped at its edge.
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.bottom, TestEditorEffect::kHeight);
    display.Click(kLeft, r.left + 10, r.top + DrawnPopup::kBoxHeight + 2 * DrawnPopup::kRowHeight + 5);
    Settle(a);
    EXPECT_EQ(a.Editor()->Popup(), nullptr);
    EXPECT_EQ(a.Plain(1), 2.0);  // "Right"
}

TEST_F(X11EditorWindowTest, FocusGoesToPopupsAndBackAndToTheEditorOnlyForHost25) {
    {
        Instance plain("Some Host");
        display.Focus(parent);
        ASSERT_TRUE(plain.Open(parent));
        display.Click(kLeft, 70, 110);
        Settle(plain);
        EXPECT_EQ(display.Focused(), parent);
        display.Click(kRight, 70, 30);
        Settle(plain);
        EXPECT_EQ(display.Focused(), plain.Window());  // the popup needs the keys
        display.Key(kReturn);
        Settle(plain);
        EXPECT_EQ(display.Focused(), parent);  // given back
    }
    Instance acoustica("Acoustica Mixcraft");
    display.Focus(parent);
    ASSERT_TRUE(acoustica.Open(parent));
    EXPECT_EQ(display.Focused(), acoustica.Window());
    display.Focus(parent);
    display.Click(kLeft, 70, 110);
    Settle(acoustica);
    EXPECT_EQ(display.Focused(), acoustica.Window());
}

TEST_F(X11EditorWindowTest, WheelGestureEndsAfterHalfASecondAtAnyIdleRateAndOnClose) {
    Instance a;
    ASSERT_TRUE(a.Open(parent));
    for (int interval : {5, 100}) {
        display.MoveTo(70, 30);
        display.Button(kWheelUp, true);
        display.Button(kWheelUp, false);
        Settle(a, 1);
        ASSERT_EQ(a.host.CountOf(audioMasterBeginEdit) - a.Ends(), 1) << interval << " ms";
        const double seconds = SecondsToEndEdit(a, std::chrono::milliseconds(interval));
        EXPECT_GT(seconds, 0.4) << interval << " ms";
        EXPECT_LT(seconds, 0.75) << interval << " ms";
    }
    display.Button(kWheelUp, true);
    display.Button(kWheelUp, false);
    Settle(a, 1);
    const int ends = a.Ends();
    a.Dispatch(effEditClose);
    EXPECT_EQ(a.Ends(), ends + 1);
}

// A host with a timer and an fd watch instead of idle calls (CLAP, a VST 3 run loop): the fd
// brings the events, and each timer call is exactly one tick whatever the clock says.
TEST_F(X11EditorWindowTest, HostTimerAndFdWatchDriveItWithoutIdleCalls) {
    Instance a;
    IEditorView* view = a.plugin->Editor();
    EXPECT_EQ(view->EventFd(), -1);
    EXPECT_EQ(view->TimerMilliseconds(), 41);
    ASSERT_TRUE(a.Open(parent));
    const int fd = view->EventFd();
    ASSERT_GE(fd, 0);
    display.MoveTo(70, 30);
    display.Button(kWheelUp, true);
    display.Button(kWheelUp, false);
    display.Sync();
    const auto give_up = Clock::now() + std::chrono::seconds(2);
    while (a.host.CountOf(audioMasterBeginEdit) == 0 && Clock::now() < give_up) {
        pollfd watch{fd, POLLIN, 0};
        if (poll(&watch, 1, 100) == 1) view->OnFdReady();
    }
    ASSERT_EQ(a.host.CountOf(audioMasterBeginEdit), 1);
    const int ends = a.Ends();
    for (int i = 0; i < 11; ++i) view->OnTimer();
    EXPECT_EQ(a.Ends(), ends);
    view->OnTimer();
    EXPECT_EQ(a.Ends(), ends + 1);
    a.Dispatch(effEditClose);
    EXPECT_EQ(view->EventFd(), -1);
}

TEST_F(X11EditorWindowTest, KeysReachTheControlThroughTheKeyTable) {
    Instance a;
    ASSERT_TRUE(a.Open(parent));
    // The host's window has the focus: keys go to the window under the pointer inside it.
    display.Focus(parent);
    display.MoveTo(70, 30);
    for (uint32_t key : {uint32_t{' '}, uint32_t{'a'}, uint32_t{'Z'}, uint32_t{'7'}, kUp, kF1})
        display.Key(key);
    Settle(a);
    EXPECT_EQ(a.plugin->Bar(0)->keys, (std::vector<int>{0, 15, 40, 12, 1}));
}

TEST_F(X11EditorWindowTest, DoubleClickNeedsTwoPressesCloseInTimeAndPlace) {
    Instance a;
    ASSERT_TRUE(a.Open(parent));
    a.plugin->Bar(0)->defaultValue = 0.9;
    auto reset = [&] {
        a.plugin->Bar(0)->SetValueFromUser(0.1);
        Settle(a, 1);
    };
    reset();
    display.Click(kLeft, 70, 30);
    display.Click(kLeft, 73, 33);
    Settle(a);
    EXPECT_NEAR(a.Plain(0), 90.0, 0.05);
    reset();
    display.Click(kLeft, 70, 30);
    display.Click(kLeft, 80, 30);  // too far
    Settle(a);
    EXPECT_NEAR(a.Plain(0), 10.0, 0.05);
    display.Click(kLeft, 70, 30);
    std::this_thread::sleep_for(std::chrono::milliseconds(450));  // too late
    display.Click(kLeft, 70, 30);
    Settle(a);
    EXPECT_NEAR(a.Plain(0), 10.0, 0.05);
}

TEST_F(X11EditorWindowTest, ParentDestroyedBeforeCloseEndsTheWindowQuietly) {
    Instance a;
    ASSERT_TRUE(a.Open(parent));
    display.MoveTo(70, 30);
    display.Button(kWheelUp, true);
    display.Button(kWheelUp, false);
    Settle(a, 1);
    const int ends = a.Ends();
    display.Destroy(parent);
    parent = 0;
    Settle(a);
    EXPECT_FALSE(a.Editor()->IsOpen());
    EXPECT_EQ(a.Ends(), ends + 1);
    EXPECT_EQ(a.Dispatch(effEditClose), 1);
    parent = display.CreateParent(0, 0, 400, 300);
    EXPECT_TRUE(a.Open(parent));
}

TEST_F(X11EditorWindowTest, HundredOpenCloseCyclesLeaveNoSocket) {
    Instance a;
    const int before = OpenSockets();
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(a.Open(parent)) << i;
        a.Idle();
        a.Dispatch(effEditClose);
    }
    EXPECT_EQ(OpenSockets(), before);
    EXPECT_TRUE(display.Children(parent).empty());
}

}  // namespace
