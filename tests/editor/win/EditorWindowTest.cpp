// The Windows editor window for real, under Wine with an X display: a framed top-level host
// window, the test effect's editor as its child, window messages as the host and the user send
// them, pixels read back from the window.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/win/IEditorWindow.h"
#include "tests/support/NewVstPlugin.h"
#include "tests/support/TestEditorEffect.h"
#include "tests/support/RecordingHost.h"

namespace {

constexpr const char* kParentClass = "EditorWindowTestParent";
constexpr IArgb kTrack = TestEditorEffect::kTrack;

HINSTANCE Module() {
    return GetModuleHandleA(nullptr);
}

LRESULT CALLBACK ParentProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A framed top-level window, as a host's plug-in window is. One for the whole program: under
// Wine without a window manager, taking a top-level window off the screen waits two seconds.
HWND SharedFrame() {
    static HWND frame = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProcedure;
        wc.hInstance = Module();
        wc.lpszClassName = kParentClass;
        RegisterClassA(&wc);
        return CreateWindowExA(0, kParentClass, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 50, 400, 300,
                               nullptr, nullptr, Module(), nullptr);
    }();
    return frame;
}

// A child of the frame, as the container a host gives its plug-ins.
HWND CreateContainer() {
    HWND container = CreateWindowExA(0, kParentClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 380, 260,
                                     SharedFrame(), nullptr, Module(), nullptr);
    EXPECT_NE(container, nullptr);
    return container;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Runs the message loop for about ms milliseconds, so that real timer ticks arrive.
void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    Pump();
}

bool ClassRegistered() {
    WNDCLASSA wc;
    return GetClassInfoA(Module(), IEditorWindow::kClassName, &wc) != 0;
}

uint32_t Rgb(const IArgb& c) {
    return c.Packed() & 0xFFFFFF;
}

// One plug-in instance with the recording host, closed through its record at the end.
struct Instance {
    explicit Instance(const std::string& product = "") {
        host.product = product;
        plugin = new TestEditorEffect(Module());
        effect = NewVstPlugin(plugin, &RecordingHost::Callback);
        host.Bind(effect);
    }
    ~Instance() { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); }

    IEditorWindow* Editor() const { return static_cast<IEditorWindow*>(plugin->EditorGraphics()); }
    HWND Window() const { return static_cast<HWND>(Editor()->window); }
    HWND Open(HWND parent) const {
        return static_cast<HWND>(reinterpret_cast<void*>(
            effect->dispatcher(effect, effEditOpen, 0, 0, parent, 0.0f) ? Editor()->window : nullptr));
    }
    HWND Popup() const { return static_cast<HWND>(Editor()->popup); }
    double Plain(int index) const { return plugin->Parameter(index)->PlainValue(); }

    // Host notifications as text: "begin 0", "automate 0 0.600", "end 0".
    std::vector<std::string> Notes() const {
        std::vector<std::string> out;
        for (const RecordingHost::Call& c : host.calls) {
            char text[48];
            if (c.opcode == audioMasterAutomate) {
                std::snprintf(text, sizeof text, "automate %d %.3f", c.index, c.opt);
            } else if (c.opcode == audioMasterBeginEdit || c.opcode == audioMasterEndEdit) {
                std::snprintf(text, sizeof text, "%s %d", c.opcode == audioMasterBeginEdit ? "begin" : "end",
                              c.index);
            } else {
                continue;
            }
            out.push_back(text);
        }
        return out;
    }
    void ClearNotes() { host.calls.clear(); }

    RecordingHost host;
    TestEditorEffect* plugin;
    AEffect* effect;
};

LPARAM At(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

// Reads the window's pixels the way a screen grab does (PrintWindow gives a blank picture
// under Wine): BitBlt from the window's own device context.
uint32_t PixelAt(HWND window, int x, int y) {
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, 1, 1, screen, x, y, SRCCOPY);
    GdiFlush();
    uint32_t pixel = *static_cast<uint32_t*>(bits) & 0xFFFFFF;
    SelectObject(memory, previous);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return pixel;
}

POINT PlaceInParent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    POINT p = {r.left, r.top};
    ScreenToClient(GetParent(child), &p);
    return p;
}

class EditorWindowTest : public ::testing::Test {
  protected:
    EditorWindowTest() : parent(SharedFrame()) {
        EXPECT_NE(parent, nullptr);
        SetWindowPos(parent, nullptr, 60, 50, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ~EditorWindowTest() override { Pump(); }

    // A right click in the editor at (x, y), as the window receives it.
    static void RightClick(HWND window, int x, int y) {
        SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, At(x, y));
        SendMessageA(window, WM_RBUTTONUP, 0, At(x, y));
    }
    static void Type(HWND target, const char* text) {
        for (const char* c = text; *c; ++c) SendMessageA(target, WM_CHAR, static_cast<WPARAM>(*c), 1);
    }
    static std::string TextOf(HWND window) {
        char text[64] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    HWND parent;
};

// ---- Lifecycle: open, close, reopen, and the window class shared by every instance -----------------

TEST_F(EditorWindowTest, ReopeningKeepsPlaceAndSizeInAFramedParent) {
    Instance a;
    HWND first = a.Open(parent);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(PlaceInParent(first).x, 0);
    SetWindowPos(first, nullptr, 30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Opened again while open: the new window takes the old one's place, not shifted by the frame.
    for (int reopen = 0; reopen < 3; ++reopen) {
        HWND again = a.Open(parent);
        ASSERT_NE(again, nullptr);
        POINT place = PlaceInParent(again);
        EXPECT_EQ(place.x, 30);
        EXPECT_EQ(place.y, 20);
        RECT r;
        GetClientRect(again, &r);
        EXPECT_EQ(r.right, TestEditorEffect::kWidth);
        EXPECT_EQ(r.bottom, TestEditorEffect::kHeight);
        EXPECT_EQ(IEditorWindow::ClassUsers(), 1);
    }
    // Closed, then opened: back at the origin.
    a.effect->dispatcher(a.effect, effEditClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(a.Editor()->window, nullptr);
    HWND fresh = a.Open(parent);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(PlaceInParent(fresh).x, 0);
}

TEST_F(EditorWindowTest, TwoInstancesShareOneClassRegistrationUntilTheLastCloses) {
    Instance a, b;
    ASSERT_FALSE(ClassRegistered());
    ASSERT_NE(a.Open(parent), nullptr);
    ASSERT_NE(b.Open(parent), nullptr);
    EXPECT_EQ(IEditorWindow::ClassUsers(), 2);
    a.Editor()->CloseWindow();
    EXPECT_TRUE(ClassRegistered());
    EXPECT_EQ(IEditorWindow::ClassUsers(), 1);
    b.Editor()->CloseWindow();
    EXPECT_FALSE(ClassRegistered());
    EXPECT_EQ(IEditorWindow::ClassUsers(), 0);
}

// Bad host behaviour: missing or dead parents, double closes, the window's own close message.
TEST_F(EditorWindowTest, BadOpensAndClosesLeaveNoWindowAndNoRegistration) {
    Instance a;
    EXPECT_EQ(a.effect->dispatcher(a.effect, effEditOpen, 0, 0, nullptr, 0.0f), 0);
    HWND dead = CreateContainer();
    DestroyWindow(dead);
    EXPECT_EQ(a.effect->dispatcher(a.effect, effEditOpen, 0, 0, dead, 0.0f), 0);
    EXPECT_EQ(IEditorWindow::ClassUsers(), 0);
    EXPECT_FALSE(ClassRegistered());

    HWND window = a.Open(parent);
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(a.Editor()->window, nullptr);
    EXPECT_EQ(IEditorWindow::ClassUsers(), 0);
    a.effect->dispatcher(a.effect, effEditClose, 0, 0, nullptr, 0.0f);
    a.effect->dispatcher(a.effect, effEditClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(IEditorWindow::ClassUsers(), 0);
    EXPECT_NE(a.Open(parent), nullptr);
    EXPECT_EQ(IEditorWindow::ClassUsers(), 1);
}

TEST_F(EditorWindowTest, ParentDestroyedUnderAnOpenEditorEndsItsGestureAndRegistration) {
    Instance a;
    HWND container = CreateContainer();
    HWND window = a.Open(container);
    ASSERT_NE(window, nullptr);
    POINT screen = {100, 30};
    ClientToScreen(window, &screen);
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), At(screen.x, screen.y));
    EXPECT_EQ(a.Notes(), (std::vector<std::string>{"begin 0", "automate 0 0.260"}));
    DestroyWindow(container);
    EXPECT_EQ(a.Editor()->window, nullptr);
    EXPECT_EQ(IEditorWindow::ClassUsers(), 0);
    EXPECT_EQ(a.Notes().back(), "end 0");
    a.Editor()->CloseWindow();  // nothing left to do
    EXPECT_EQ(IEditorWindow::ClassUsers(), 0);
}

// ---- Painting: the timer's repaint reaches the screen ---------------------------------------------------

TEST_F(EditorWindowTest, TimerRepaintShowsAHostChangeOnScreen) {
    Instance a;
    HWND window = a.Open(parent);
    ASSERT_NE(window, nullptr);
    PumpFor(150);
    const int x = 210, y = 30;  // right end of the first bar, beyond 25 %
    EXPECT_EQ(PixelAt(window, x, y), Rgb(kTrack));
    a.effect->setParameter(a.effect, 0, 1.0f);
    PumpFor(200);
    EXPECT_EQ(PixelAt(window, x, y), Rgb(TestEditorEffect::kBarColours[0]));
    EXPECT_EQ(PixelAt(window, 5, 5), Rgb(TestEditorEffect::kBackground));
}

// ---- Value popups -----------------------------------------------------------------------------------

TEST_F(EditorWindowTest, RightClickOpensSelectedEditBoxAndEnterCommitsOnTheNextTick) {
    Instance a;
    HWND window = a.Open(parent);
    RightClick(window, 70, 30);
    HWND popup = a.Popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetDlgCtrlID(popup), IEditorWindow::kPopupId);
    char cls[16] = {};
    GetClassNameA(popup, cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, "EDIT");
    EXPECT_EQ(TextOf(popup), "25.0");
    DWORD from = 1, to = 0;
    SendMessageA(popup, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 4u);
    // Centred on the control: (120, 30) less half the box.
    POINT place = PlaceInParent(popup);
    RECT box;
    GetWindowRect(popup, &box);
    EXPECT_EQ(place.x + (box.right - box.left) / 2, 120);
    EXPECT_EQ(place.y, 30 - 8);

    a.ClearNotes();
    Type(popup, "60");
    SendMessageA(popup, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(a.Editor()->popupState, IEditorWindow::Commit);
    EXPECT_EQ(a.Plain(0), 25.0);  // applied only by the tick
    a.Editor()->Tick();
    EXPECT_EQ(a.Popup(), nullptr);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_DOUBLE_EQ(a.Plain(0), 60.0);
    EXPECT_EQ(a.Notes(),
              (std::vector<std::string>{"begin 0", "automate 0 0.600", "end 0", "automate 0 0.600"}));
}

TEST_F(EditorWindowTest, RightClickOnTheEditorCancelsThePopup) {
    Instance a;
    HWND window = a.Open(parent);
    RightClick(window, 70, 30);
    HWND popup = a.Popup();
    ASSERT_NE(popup, nullptr);
    Type(popup, "90");
    a.ClearNotes();
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, At(70, 90));
    EXPECT_EQ(a.Editor()->popupState, IEditorWindow::Cancel);
    SendMessageA(window, WM_RBUTTONUP, 0, At(70, 90));
    a.Editor()->Tick();
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(a.Plain(0), 25.0);
    // Only the control's old value is sent again; the cancelling press starts no gesture.
    EXPECT_EQ(a.host.CountOf(audioMasterBeginEdit), 0);
    EXPECT_EQ(a.Notes().back(), "automate 0 0.250");
}

TEST_F(EditorWindowTest, ChoosingADropDownEntryCommits) {
    Instance a;
    a.effect->setParameter(a.effect, 1, 0.5f);  // "Left"
    HWND window = a.Open(parent);
    RightClick(window, 70, 60);
    HWND combo = a.Popup();
    ASSERT_NE(combo, nullptr);
    char cls[16] = {};
    GetClassNameA(combo, cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, "COMBOBOX");
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    // As a user does it: open the list and click its last entry.
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    RECT item;
    SendMessageA(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    POINT centre = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    LPARAM at = At(centre.x, centre.y);
    // The open list follows the real pointer too: put it where the click goes.
    ClientToScreen(info.hwndList, &centre);
    SetCursorPos(centre.x, centre.y);
    Pump();
    SendMessageA(info.hwndList, WM_MOUSEMOVE, 0, at);
    SendMessageA(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(info.hwndList, WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_EQ(a.Editor()->popupState, IEditorWindow::Commit);
    a.Editor()->Tick();
    EXPECT_EQ(a.Popup(), nullptr);
    EXPECT_EQ(a.Plain(1), 2.0);
}

TEST_F(EditorWindowTest, LeftClickOnTheEditorCommitsAndReachesTheControlBelow) {
    Instance a;
    HWND window = a.Open(parent);
    RightClick(window, 70, 30);
    ASSERT_NE(a.Popup(), nullptr);
    Type(a.Popup(), "80");
    a.ClearNotes();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(70, 90));
    EXPECT_EQ(a.Editor()->popupState, IEditorWindow::Commit);
    SendMessageA(window, WM_LBUTTONUP, 0, At(70, 90));
    a.Editor()->Tick();
    EXPECT_DOUBLE_EQ(a.Plain(0), 80.0);
    EXPECT_EQ(a.Notes(), (std::vector<std::string>{"begin 2", "end 2", "begin 0", "automate 0 0.800", "end 0",
                                                   "automate 0 0.800"}));
}

TEST_F(EditorWindowTest, IntegerWithValueTextsGetsAnEditBoxThatTakesATextOrANumber) {
    Instance a;
    HWND window = a.Open(parent);
    RightClick(window, 70, 90);
    ASSERT_NE(a.Popup(), nullptr);
    EXPECT_EQ(TextOf(a.Popup()), "one");
    SendMessageA(a.Popup(), EM_SETSEL, 0, -1);
    Type(a.Popup(), "three");
    SendMessageA(a.Popup(), WM_KEYDOWN, VK_RETURN, 1);
    a.Editor()->Tick();
    EXPECT_EQ(a.Plain(2), 3.0);
}

// A resize deletes the controls: the popup must go with its control, not be applied to it later.
TEST_F(EditorWindowTest, SetSizeWhilePopupIsOpenClosesItAndResizesWindowAndParent) {
    Instance a;
    HWND window = a.Open(parent);
    RECT before;
    GetWindowRect(parent, &before);
    RightClick(window, 70, 30);
    HWND popup = a.Popup();
    ASSERT_NE(popup, nullptr);
    SendMessageA(popup, WM_KEYDOWN, VK_RETURN, 1);
    a.Editor()->SetSize(300, 150);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(a.Popup(), nullptr);
    a.Editor()->Tick();
    PumpFor(60);
    RECT r, after;
    GetClientRect(window, &r);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 150);
    GetWindowRect(parent, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left + 60);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 30);
    EXPECT_EQ(a.Editor()->ControlCount(), 0);
}

TEST_F(EditorWindowTest, PopupRequestsWithoutControlParameterOrWindowAreIgnored) {
    Instance a;
    TestBarControl* bar = a.plugin->Bar(0);
    a.Editor()->ShowValuePrompt(bar, a.plugin->Parameter(0));  // closed: no window to hold it
    EXPECT_EQ(a.Popup(), nullptr);
    a.Open(parent);
    a.Editor()->ShowValuePrompt(bar, nullptr);
    a.Editor()->ShowValuePrompt(nullptr, a.plugin->Parameter(0));
    EXPECT_EQ(a.Popup(), nullptr);
    a.Editor()->ShowValuePrompt(bar, a.plugin->Parameter(0));
    HWND first = a.Popup();
    a.Editor()->ShowValuePrompt(a.plugin->Bar(1), a.plugin->Parameter(1));  // one popup at a time
    EXPECT_EQ(a.Popup(), first);
    a.Editor()->CloseWindow();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(a.Popup(), nullptr);
}

// ---- Wheel gestures: one begin/end pair, the end never left open by closing
// ---------------------------------

TEST_F(EditorWindowTest, WheelGestureEndsAfterTwelveTicksOrAtOnceWhenTheEditorCloses) {
    Instance a;
    HWND window = a.Open(parent);
    POINT screen = {100, 30};
    ClientToScreen(window, &screen);
    for (int i = 0; i < 3; ++i)
        SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), At(screen.x, screen.y));
    for (int i = 0; i < 11; ++i) a.Editor()->Tick();
    EXPECT_EQ(a.host.CountOf(audioMasterEndEdit), 0);
    a.Editor()->Tick();
    EXPECT_EQ(a.host.CountOf(audioMasterBeginEdit), 1);
    EXPECT_EQ(a.host.CountOf(audioMasterEndEdit), 1);

    a.ClearNotes();
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-240)),
                 At(screen.x, screen.y));
    a.Editor()->Tick();
    a.effect->dispatcher(a.effect, effEditClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(a.Notes(), (std::vector<std::string>{"begin 0", "automate 0 0.278", "end 0"}));
}

TEST_F(EditorWindowTest, HostWheelCountsOnlyWithThePointerOverTheEditor) {
    Instance a;
    HWND window = a.Open(parent);
    PumpFor(50);
    POINT over = {100, 30};
    ClientToScreen(window, &over);
    SetCursorPos(over.x, over.y);
    EXPECT_EQ(a.effect->dispatcher(a.effect, effVendorSpecific, 0x73744341, 0x57686565, nullptr, 2.0f), 1);
    EXPECT_DOUBLE_EQ(a.Plain(0), 27.0);
    POINT outside = {300, 200};  // in the parent, beside the editor
    ClientToScreen(parent, &outside);
    SetCursorPos(outside.x, outside.y);
    EXPECT_EQ(a.effect->dispatcher(a.effect, effVendorSpecific, 0x73744341, 0x57686565, nullptr, 2.0f), 0);
    EXPECT_DOUBLE_EQ(a.Plain(0), 27.0);
}

// ---- Mouse at the edges: capture holds, extreme positions do no harm -------------------------------------

TEST_F(EditorWindowTest, CapturedDragFollowsThePointerFarOutsideAndReleaseEndsTheGesture) {
    Instance a;
    HWND window = a.Open(parent);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(70, 30));
    EXPECT_EQ(GetCapture(), window);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(70 + 20, 30));  // +0.1
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(70 + 20, 30));  // unchanged: nothing
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(-32768, 32767));
    SendMessageA(window, WM_LBUTTONUP, 0, At(-32768, 32767));
    EXPECT_NE(GetCapture(), window);
    std::vector<std::string> notes = a.Notes();
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0], "begin 0");
    EXPECT_EQ(notes[1], "automate 0 0.350");
    EXPECT_EQ(notes[2], "automate 0 0.000");  // clamped
    EXPECT_EQ(notes[3], "end 0");
    a.ClearNotes();
    for (LPARAM position : {At(-32768, -32768), At(32767, 32767), At(-1, 5)}) {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, position);
        SendMessageA(window, WM_LBUTTONUP, 0, position);
        SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, position);
        SendMessageA(window, WM_MOUSEMOVE, 0, position);
    }
    EXPECT_TRUE(a.Notes().empty());
}

// ---- Keys and focus -----------------------------------------------------------------------------------

TEST_F(EditorWindowTest, KeysAreMappedByTheTableAndGoToTheControlUnderThePointer) {
    Instance a;
    HWND window = a.Open(parent);
    PumpFor(50);
    POINT over = {70, 30};
    ClientToScreen(window, &over);
    SetCursorPos(over.x, over.y);
    // F1 and F11 share the range of the lower-case letter codes, but are no letters.
    for (WPARAM vk :
         {WPARAM(VK_F1), WPARAM(0x61), WPARAM('A'), WPARAM('Z'), WPARAM(VK_SPACE), WPARAM('7'), WPARAM(VK_UP),
          WPARAM(VK_RIGHT), WPARAM(0x6F), WPARAM(VK_F11), WPARAM(0x60), WPARAM(VK_RETURN)})
        SendMessageA(window, WM_KEYDOWN, vk, 1);
    EXPECT_EQ(a.plugin->Bar(0)->keys, (std::vector<int>{15, 15, 40, 0, 12, 1, 4, 29}));
    EXPECT_TRUE(a.plugin->Bar(1)->keys.empty());
}

TEST_F(EditorWindowTest, OnlyHost25MakesTheEditorTakeTheFocus) {
    {
        Instance plain("Some Host");
        SetFocus(parent);
        HWND window = plain.Open(parent);
        EXPECT_NE(GetFocus(), window);
        EXPECT_EQ(SendMessageA(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(parent), 0), MA_ACTIVATE);
        EXPECT_NE(GetFocus(), window);
    }
    Instance acoustica("Acoustica Mixcraft");
    SetFocus(parent);
    HWND window = acoustica.Open(parent);
    EXPECT_EQ(GetFocus(), window);
    SetFocus(parent);
    EXPECT_EQ(SendMessageA(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(parent), 0), MA_ACTIVATE);
    EXPECT_EQ(GetFocus(), window);
}

// ---- Tooltips: shown on hover for the control under the pointer, hidden by a click ---------------------

TEST_F(EditorWindowTest, TooltipFollowsHoverAndClicks) {
    Instance a;
    a.Editor()->tooltips = true;
    a.Editor()->trackMouseOver = true;
    a.plugin->Bar(0)->tooltip = "Level";
    HWND window = a.Open(parent);
    ASSERT_NE(a.Editor()->tooltipWindow, nullptr);
    SendMessageA(window, WM_MOUSEMOVE, 0, At(70, 30));
    EXPECT_EQ(a.Editor()->tooltipIndex, 1);
    SendMessageA(window, WM_MOUSEHOVER, 0, At(70, 30));
    EXPECT_TRUE(a.Editor()->tooltipShown);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(70, 30));
    SendMessageA(window, WM_LBUTTONUP, 0, At(70, 30));
    EXPECT_FALSE(a.Editor()->tooltipShown);
    SendMessageA(window, WM_MOUSEMOVE, 0, At(70, 60));
    SendMessageA(window, WM_MOUSEHOVER, 0, At(70, 60));
    EXPECT_FALSE(a.Editor()->tooltipShown);  // that control has no text
    a.Editor()->CloseWindow();
    EXPECT_EQ(a.Editor()->tooltipWindow, nullptr);
    EXPECT_EQ(a.Editor()->tooltipIndex, -1);
}

// ---- Desktop services without user interaction ----------------------------------------------------------

TEST_F(EditorWindowTest, FoldersEndInABackslashAndPromptsNeedAWindow) {
    Instance a;
    std::string host, plugin;
    a.Editor()->HostDirectory(host);
    a.Editor()->PluginDirectory(plugin);
    ASSERT_FALSE(host.empty());
    EXPECT_EQ(host.back(), '\\');
    EXPECT_EQ(plugin, host);  // the module is this test program
    std::string file = "keep.wav";
    a.Editor()->PromptForFile(file, 0, nullptr, "wav aif");
    EXPECT_EQ(file, "");
    IArgb colour{255, 1, 2, 3};
    EXPECT_FALSE(a.Editor()->PromptForColour(colour, "Colour"));
    EXPECT_EQ(colour, (IArgb{255, 1, 2, 3}));
}

}  // namespace
