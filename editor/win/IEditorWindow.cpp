#include "editor/win/IEditorWindow.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "editor/NewEditorWindow.h"
#include "editor/PopupGeometry.h"
#include "editor/ValuePopupModel.h"
#include "plugbase/IParameter.h"
#include "plugbase/IPluginCore.h"
#include "raster/DibBitmap.h"

namespace {

constexpr int kWheelDelta = 120;
constexpr int kPathChars = 256;

// Module-wide: how many editor windows use the class. Editors of several plug-in instances may
// live on different threads.
std::mutex gClassLock;
int gClassUsers = 0;

LRESULT CALLBACK MainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PopupProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

HWND Hwnd(void* handle) {
    return static_cast<HWND>(handle);
}

// The editor a window of our class belongs to, or null when the window is not (or no longer)
// that editor's window.
IEditorWindow* EditorOf(HWND hwnd) {
    auto* editor = reinterpret_cast<IEditorWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return editor && editor->window == hwnd ? editor : nullptr;
}

void UseClass(HINSTANCE instance) {
    std::lock_guard<std::mutex> guard(gClassLock);
    if (gClassUsers++ > 0) return;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = MainProcedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = IEditorWindow::kClassName;
    RegisterClassA(&wc);
}

void ReleaseClass(HINSTANCE instance) {
    std::lock_guard<std::mutex> guard(gClassLock);
    if (gClassUsers > 0 && --gClassUsers == 0) UnregisterClassA(IEditorWindow::kClassName, instance);
}

// Mouse position from a message's position word: signed 16-bit halves.
int LowWord(LPARAM lParam) {
    return static_cast<short>(LOWORD(lParam));
}
int HighWord(LPARAM lParam) {
    return static_cast<short>(HIWORD(lParam));
}

bool KeyHeld(int virtualKey) {
    return GetKeyState(virtualKey) < 0;
}

IMouseKeys KeysFrom(WPARAM wParam) {
    IMouseKeys keys;
    keys.left = (wParam & MK_LBUTTON) != 0;
    keys.right = (wParam & MK_RBUTTON) != 0;
    keys.shift = (wParam & MK_SHIFT) != 0;
    keys.control = (wParam & MK_CONTROL) != 0;
    keys.alt = KeyHeld(VK_MENU);
    return keys;
}

void TrackMouse(HWND hwnd, DWORD flags) {
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof track;
    track.dwFlags = flags;
    track.hwndTrack = hwnd;
    track.dwHoverTime = HOVER_DEFAULT;
    TrackMouseEvent(&track);
}

// The folder part of a module's file name: up to and including the last backslash, when at least
// one character follows it; "" otherwise.
void ModuleFolder(HMODULE module, std::string& out) {
    out.clear();
    char name[kPathChars] = {};
    DWORD length = GetModuleFileNameA(module, name, kPathChars);
    if (length == 0 || length >= kPathChars) return;
    const char* slash = std::strrchr(name, '\\');
    if (slash && slash[1] != '\0') out.assign(name, static_cast<size_t>(slash + 1 - name));
}

UINT_PTR CALLBACK ColourHook(HWND dialog, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* choice = reinterpret_cast<const CHOOSECOLORA*>(lParam);
        const char* prompt = choice ? reinterpret_cast<const char*>(choice->lCustData) : nullptr;
        if (prompt) SetWindowTextA(dialog, prompt);
    }
    return 0;
}

LRESULT CALLBACK MainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* editor = static_cast<IEditorWindow*>(create->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(editor));
        // The editor being created brings its own frame rate (never below 1).
        const int period = editor ? editor->TimerMilliseconds() : 1000 / IEditorGraphics::kDefaultFrameRate;
        SetTimer(hwnd, IEditorWindow::kTimerId, static_cast<UINT>(period), nullptr);
        if (editor && editor->input.HostWantsFocus()) SetFocus(hwnd);
        return 0;
    }
    IEditorWindow* editor = EditorOf(hwnd);
    if (!editor) return DefWindowProcA(hwnd, message, wParam, lParam);
    return editor->HandleWindowMessage(message, wParam, lParam);
}

LRESULT CALLBACK PopupProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND parent = GetParent(hwnd);
    IEditorWindow* editor = parent ? EditorOf(parent) : nullptr;
    if (!editor || editor->popup != hwnd) return DefWindowProcA(hwnd, message, wParam, lParam);
    return editor->HandlePopupMessage(message, wParam, lParam);
}

}  // namespace

IEditorGraphics* NewEditorWindow(IPluginCore* plug, int width, int height, int frameRate, void* instance) {
    return new IEditorWindow(plug, width, height, frameRate, instance);
}

IEditorWindow::~IEditorWindow() {
    CloseWindow();
    customColours.reset();
}

int IEditorWindow::ClassUsers() {
    std::lock_guard<std::mutex> guard(gClassLock);
    return gClassUsers;
}

// ---- Window lifecycle -----------------------------------------------------------------------------

void* IEditorWindow::OpenWindow(void* parent) {
    HWND parentWindow = Hwnd(parent);
    // A child needs a living parent; a destroyed or missing one would leave a stray top-level
    // window or a failed creation.
    if (!parentWindow || !IsWindow(parentWindow)) return nullptr;
    RECT place = {0, 0, width, height};
    if (window) {
        // Keep the old window's place in the new parent's client coordinates, which is where a
        // child window is created (measuring from the parent's outer rectangle would move the
        // editor by the parent's frame on every reopen).
        RECT old;
        if (GetWindowRect(Hwnd(window), &old)) {
            MapWindowPoints(HWND_DESKTOP, parentWindow, reinterpret_cast<POINT*>(&old), 2);
            place = old;
        }
        CloseWindow();
    }
    HINSTANCE module = static_cast<HINSTANCE>(instance);
    UseClass(module);
    HWND created = CreateWindowExA(0, kClassName, "Plugin Editor", WS_CHILD | WS_VISIBLE, place.left,
                                   place.top, place.right - place.left, place.bottom - place.top,
                                   parentWindow, nullptr, module, this);
    if (!created) {
        ReleaseClass(module);
        return nullptr;
    }
    window = created;
    MarkAllDirty();
    if (tooltips) CreateTooltips();
    return window;
}

void IEditorWindow::CloseWindow() {
    if (!window || closing) return;
    closing = true;
    HWND hwnd = Hwnd(window);
    if (tooltipWindow) DestroyWindow(Hwnd(tooltipWindow));
    tooltipWindow = nullptr;
    tooltipShown = false;
    tooltipIndex = -1;
    FlushEndEdit();
    // The popup, a child, goes with the window, handled by its own procedure again.
    UnhookPopup();
    DestroyWindow(hwnd);
    ForgetWindow();
    closing = false;
}

void IEditorWindow::UnhookPopup() {
    if (popup && popupOldProcedure)
        SetWindowLongPtrA(Hwnd(popup), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(popupOldProcedure));
    popupOldProcedure = nullptr;
}

void IEditorWindow::ForgetWindow() {
    if (!window) return;
    // A window destroyed from outside (its parent went away without the host closing the
    // editor) still ends a pending wheel gesture.
    if (!closing) FlushEndEdit();
    window = nullptr;
    tooltipWindow = nullptr;
    ReleasePopup();
    ForgetPopup();
    ReleaseClass(static_cast<HINSTANCE>(instance));
}

// ---- Messages -----------------------------------------------------------------------------------------

intptr_t IEditorWindow::HandleWindowMessage(unsigned message, uintptr_t wParam, intptr_t lParam) {
    HWND hwnd = Hwnd(window);
    int x = LowWord(lParam);
    int y = HighWord(lParam);
    switch (message) {
        case WM_PAINT: {
            RECT update;
            if (GetUpdateRect(hwnd, &update, FALSE))
                PaintArea(IPixelRect(update.left, update.top, update.right, update.bottom));
            // With nothing to present (no controls) nobody called BeginPaint; without this the
            // window would be sent WM_PAINT for ever.
            ValidateRect(hwnd, nullptr);
            return 0;
        }
        case WM_CLOSE:
            CloseWindow();
            return 0;
        case WM_DESTROY:
            if (!closing) {
                UnhookPopup();
                ForgetWindow();
            }
            return 0;
        case WM_MOUSEACTIVATE:
            if (input.HostWantsFocus()) SetFocus(hwnd);
            return MA_ACTIVATE;
        case WM_KEYDOWN: {
            POINT cursor;
            GetCursorPos(&cursor);
            ScreenToClient(hwnd, &cursor);
            input.Key(cursor.x, cursor.y, wParam);
            return 0;
        }
        case WM_TIMER:
            if (wParam == kTimerId) Tick();
            return 0;
        case WM_MOUSEMOVE:
            if (input.Motion(x, y, KeysFrom(wParam))) TrackMouse(hwnd, TME_LEAVE);
            if (!(wParam & (MK_LBUTTON | MK_RBUTTON)) && tooltips && overIndex != tooltipIndex) {
                tooltipIndex = overIndex;
                HideTooltip();
                if (overIndex >= 0) TrackMouse(hwnd, TME_LEAVE | TME_HOVER);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            HideTooltip();
            input.Press(message == WM_RBUTTONDOWN ? EditorInput::Button::Right : EditorInput::Button::Left, x,
                        y, KeysFrom(wParam));
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            input.Release(x, y, KeysFrom(wParam));
            return 0;
        case WM_LBUTTONDBLCLK:
            input.DoubleClick(x, y, KeysFrom(wParam));
            return 0;
        case WM_MOUSEWHEEL: {
            RECT frame;
            GetWindowRect(hwnd, &frame);
            int notches = static_cast<short>(HIWORD(wParam)) / kWheelDelta;
            input.Wheel(x - frame.left, y - frame.top, KeysFrom(LOWORD(wParam)), notches);
            return 0;
        }
        case WM_MOUSEHOVER:
            ShowTooltip();
            return 0;
        case WM_MOUSELEAVE:
            HideTooltip();
            input.Leave();
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void IEditorWindow::CapturePointer(bool on) {
    if (on)
        SetCapture(Hwnd(window));
    else
        ReleaseCapture();
}

bool IEditorWindow::PointerCaptured() {
    return window && GetCapture() == Hwnd(window);
}

bool IEditorWindow::RepaintDirty() {
    HWND hwnd = Hwnd(window);
    if (!hwnd) return false;
    IPixelRect dirty;
    if (CollectDirty(dirty)) {
        RECT area = {dirty.left, dirty.top, dirty.right, dirty.bottom};
        InvalidateRect(hwnd, &area, FALSE);
    }
    if (popup) {
        RECT popupArea;
        GetClientRect(Hwnd(popup), &popupArea);
        MapWindowPoints(Hwnd(popup), hwnd, reinterpret_cast<POINT*>(&popupArea), 2);
        ValidateRect(hwnd, &popupArea);
    }
    UpdateWindow(hwnd);
    return true;
}

bool IEditorWindow::PresentArea(const IPixelRect& rect) {
    HWND hwnd = Hwnd(window);
    if (!hwnd) return false;
    PAINTSTRUCT paint;
    HDC screen = BeginPaint(hwnd, &paint);
    HDC source = backBuffer ? static_cast<HDC>(backBuffer->DeviceContext()) : nullptr;
    if (screen && source) {
        BitBlt(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, rect.left,
               rect.top, SRCCOPY);
    }
    EndPaint(hwnd, &paint);
    return true;
}

// ---- Value popups ---------------------------------------------------------------------------------------

void IEditorWindow::ShowValuePrompt(IControl* control, IParameter* parameter) {
    if (!control || !parameter || popup || !window) return;
    HWND hwnd = Hwnd(window);
    HINSTANCE module = static_cast<HINSTANCE>(instance);
    char current[IParameter::kTextBytes] = {};
    parameter->FormatForHost(parameter->PlainValue(), false, current, sizeof current);
    HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPopupId));
    HWND created = nullptr;
    const int texts = parameter->ValueTextCount();
    const IPixelRect r = PopupGeometry::ForControl(*parameter, control->rect);
    if (ValuePopupModel::IsListFor(*parameter)) {
        created = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, r.left, r.top,
                                  static_cast<int>(r.Width()), static_cast<int>(r.Height()), hwnd, id, module,
                                  nullptr);
        if (!created) return;
        int selected = -1;
        for (int i = 0; i < texts; ++i) {
            const char* text = parameter->ValueTextAt(i)->text;
            SendMessageA(created, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
            if (std::strcmp(text, current) == 0) selected = i;
        }
        if (selected >= 0) SendMessageA(created, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    } else {
        created = CreateWindowExA(0, "EDIT", current, WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_CENTER,
                                  r.left, r.top, static_cast<int>(r.Width()), static_cast<int>(r.Height()),
                                  hwnd, id, module, nullptr);
        if (!created) return;
        SendMessageA(created, EM_SETSEL, 0, -1);
    }
    popup = created;
    SetFocus(created);
    popupOldProcedure = reinterpret_cast<void*>(
        SetWindowLongPtrA(created, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PopupProcedure)));
    HFONT font = CreateFontA(PopupGeometry::kFontHeight, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    if (font) SendMessageA(created, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    popupFont = font;
    popupControl = control;
    popupParameter = parameter;
}

intptr_t IEditorWindow::HandlePopupMessage(unsigned message, uintptr_t wParam, intptr_t lParam) {
    HWND hwnd = Hwnd(popup);
    auto old = reinterpret_cast<WNDPROC>(popupOldProcedure);
    auto passOn = [&] { return CallWindowProcA(old, hwnd, message, wParam, lParam); };
    HideTooltip();
    switch (message) {
        case WM_SETFOCUS:
            popupState = Focused;
            return passOn();
        case WM_KILLFOCUS:
            popupState = Idle;
            return passOn();
        case WM_KEYDOWN:
            if (wParam != VK_RETURN) {
                popupState = Focused;
                return passOn();
            }
            {
                char className[16] = {};
                GetClassNameA(hwnd, className, sizeof className);
                if (lstrcmpiA(className, "EDIT") == 0)
                    SendMessageA(hwnd, EM_SETSEL, static_cast<WPARAM>(-1), 0);
            }
            popupState = Commit;
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == 1) {
                popupState = Commit;
                return 0;
            }
            return passOn();
        case WM_GETDLGCODE: {
            LRESULT code = passOn();
            const MSG* asked = reinterpret_cast<const MSG*>(lParam);
            if (!popupParameter && asked && asked->message == WM_KEYDOWN && asked->wParam == VK_RETURN)
                code |= DLGC_WANTALLKEYS;
            return code;
        }
        default:
            return passOn();
    }
}

std::string IEditorWindow::PopupText() {
    char text[kPopupTextChars] = {};
    SendMessageA(Hwnd(popup), WM_GETTEXT, kPopupTextChars, reinterpret_cast<LPARAM>(text));
    return text;
}

void IEditorWindow::DestroyPopup() {
    HWND hwnd = Hwnd(popup);
    UnhookPopup();
    if (hwnd) DestroyWindow(hwnd);
    ReleasePopup();
}

void IEditorWindow::ReleasePopup() {
    popup = nullptr;
    popupOldProcedure = nullptr;
    if (popupFont) DeleteObject(static_cast<HFONT>(popupFont));
    popupFont = nullptr;
}

// ---- Tooltips ---------------------------------------------------------------------------------------------

void IEditorWindow::CreateTooltips() {
    HWND hwnd = Hwnd(window);
    HINSTANCE module = static_cast<HINSTANCE>(instance);
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_TAB_CLASSES};
    HWND tips = nullptr;
    if (InitCommonControlsEx(&init)) {
        tips = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr,
                               module, nullptr);
    }
    if (!tips) {
        tooltips = false;
        return;
    }
    SetWindowPos(tips, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
    tool.hinst = module;
    if (!SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) {
        DestroyWindow(tips);
        tooltips = false;
        return;
    }
    tooltipWindow = tips;
}

void IEditorWindow::ShowTooltip() {
    tooltipIndex = overIndex;
    IControl* control = tooltipIndex >= 0 ? Control(tooltipIndex) : nullptr;
    if (!tooltipWindow || !control || !control->tooltip) return;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = Hwnd(window);
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = const_cast<char*>(control->tooltip);
    SendMessageA(Hwnd(tooltipWindow), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    tooltipShown = true;
}

void IEditorWindow::HideTooltip() {
    if (!tooltipShown || !tooltipWindow) return;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = Hwnd(window);
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = nullptr;
    SendMessageA(Hwnd(tooltipWindow), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    tooltipShown = false;
}

// ---- Desktop services ----------------------------------------------------------------------------------

bool IEditorWindow::OpenWebAddress(const char* address, const char* title, const char* confirmText,
                                   const char* failureText) {
    if (!address || !*address) return false;
    HWND owner = Hwnd(window);
    if (confirmText && MessageBoxA(owner, confirmText, title, MB_YESNO) != IDYES) return false;
    DWORD state = 0;
    if (InternetGetConnectedState(&state, 0)) {
        HINSTANCE result = ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
        if (reinterpret_cast<INT_PTR>(result) > 32) return true;
    }
    if (failureText) MessageBoxA(owner, failureText, title, MB_OK);
    return false;
}

int IEditorWindow::HostWheel(float notches) {
    if (!window) return 0;
    HWND hwnd = Hwnd(window);
    POINT cursor;
    if (!GetCursorPos(&cursor) || WindowFromPoint(cursor) != hwnd) return 0;
    RECT frame;
    GetWindowRect(hwnd, &frame);
    IMouseKeys keys;
    keys.shift = KeyHeld(VK_SHIFT);
    keys.control = KeyHeld(VK_CONTROL);
    keys.alt = KeyHeld(VK_MENU);
    // A host's value may be anything; only whole notches within an int's range count.
    double whole = notches;
    if (!(whole > -1.0e6 && whole < 1.0e6)) return 0;
    input.Wheel(cursor.x - frame.left, cursor.y - frame.top, keys, static_cast<int>(whole));
    return 1;
}

bool IEditorWindow::PromptForColour(IArgb& colour, const char* prompt) {
    if (!window) return false;
    if (!customColours) {
        customColours.reset(new uint32_t[16]);
        std::fill_n(customColours.get(), 16, 0u);
    }
    CHOOSECOLORA choice = {};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = Hwnd(window);
    choice.rgbResult = RGB(colour.R & 0xFF, colour.G & 0xFF, colour.B & 0xFF);
    choice.lpCustColors = reinterpret_cast<COLORREF*>(customColours.get());
    choice.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
    choice.lpfnHook = ColourHook;
    choice.lCustData = reinterpret_cast<LPARAM>(prompt);
    if (!ChooseColorA(&choice)) return false;
    colour.R = GetRValue(choice.rgbResult);
    colour.G = GetGValue(choice.rgbResult);
    colour.B = GetBValue(choice.rgbResult);
    return true;
}

void IEditorWindow::PromptForFile(std::string& out, int action, const char* directory,
                                  const char* extensions) {
    if (!window) {
        out.clear();
        return;
    }
    char file[kPathChars] = {};
    out.copy(file, kPathChars - 1);
    // "wav aif" -> "*.wav;*.aif", both the description and the pattern of the one filter.
    std::string pattern, defaultExtension;
    std::string list = extensions ? extensions : "";
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(' ', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) {
            std::string extension = list.substr(start, end - start);
            if (defaultExtension.empty() && start == 0) defaultExtension = extension;
            if (!pattern.empty()) pattern += ';';
            pattern += "*." + extension;
        }
        start = end + 1;
    }
    std::string filter = pattern + '\0' + pattern + '\0' + '\0';
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Hwnd(window);
    dialog.lpstrFilter = pattern.empty() ? nullptr : filter.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = kPathChars;
    dialog.lpstrInitialDir = directory && *directory ? directory : nullptr;
    dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    bool chosen;
    if (action == 1) {
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        chosen = GetSaveFileNameA(&dialog) != 0;
    } else {
        dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
        chosen = GetOpenFileNameA(&dialog) != 0;
    }
    out = chosen ? std::string(file) : std::string();
}

void IEditorWindow::HostDirectory(std::string& out) {
    ModuleFolder(nullptr, out);
}

void IEditorWindow::PluginDirectory(std::string& out) {
    ModuleFolder(static_cast<HMODULE>(instance), out);
}

// ---- Size
// ---------------------------------------------------------------------------------------------------

void IEditorWindow::SetSize(int newWidth, int newHeight) {
    int dW = newWidth - width;
    int dH = newHeight - height;
    IEditorWindowCore::SetSize(newWidth, newHeight);
    if (!window) return;
    HWND hwnd = Hwnd(window);
    auto isPlainChild = [](HWND w) {
        return (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) != 0 &&
               (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_MDICHILD) == 0;
    };
    auto grow = [dW, dH](HWND w) {
        RECT r;
        if (!GetWindowRect(w, &r)) return;
        SetWindowPos(w, nullptr, 0, 0, r.right - r.left + dW, r.bottom - r.top + dH,
                     SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    };
    RECT outer;
    GetWindowRect(hwnd, &outer);
    grow(hwnd);
    if (isPlainChild(hwnd)) {
        HWND parent = GetParent(hwnd);
        if (parent) {
            grow(parent);
            HWND grand = isPlainChild(parent) ? GetParent(parent) : nullptr;
            if (grand) grow(grand);
        }
    }
    RECT old = {0, 0, outer.right - outer.left, outer.bottom - outer.top};
    InvalidateRect(hwnd, &old, FALSE);
}
