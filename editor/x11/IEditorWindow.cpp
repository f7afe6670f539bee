#include "editor/x11/IEditorWindow.h"

#include <cstdlib>

#include "editor/NewEditorWindow.h"
#include "editor/x11/DrawnPopup.h"
#include "editor/x11/WebLauncher.h"
#include "editor/x11/X11Connection.h"
#include "editor/x11/X11Keys.h"
#include "editor/x11/X11Presenter.h"
#include "plugbase/IParameter.h"
#include "plugbase/IPluginCore.h"
#include "raster/DibBitmap.h"

namespace {

constexpr uint8_t kLeftButton = 1, kRightButton = 3, kWheelUp = 4, kWheelDown = 5;
constexpr uint16_t kShiftMask = XCB_MOD_MASK_SHIFT, kControlMask = XCB_MOD_MASK_CONTROL,
                   kAltMask = XCB_MOD_MASK_1, kLeftMask = XCB_BUTTON_MASK_1, kRightMask = XCB_BUTTON_MASK_3;
// Window ids are 29-bit resource ids; a parent beyond 32 bits is no window.
constexpr uintptr_t kMaxWindowId = 0xFFFFFFFFu;
// Events read per idle at most, so that a flood cannot keep the host's UI thread.
constexpr int kMaxEventsPerRead = 10000;

IMouseKeys KeysOf(uint16_t state) {
    IMouseKeys keys;
    keys.left = (state & kLeftMask) != 0;
    keys.right = (state & kRightMask) != 0;
    keys.shift = (state & kShiftMask) != 0;
    keys.control = (state & kControlMask) != 0;
    keys.alt = (state & kAltMask) != 0;
    return keys;
}

}  // namespace

IEditorGraphics* NewEditorWindow(IPluginCore* plug, int width, int height, int frameRate, void* instance) {
    return new IEditorWindow(plug, width, height, frameRate, instance);
}

IEditorWindow::~IEditorWindow() {
    CloseWindow();
}

void* IEditorWindow::NativeWindow() {
    return windowAlive ? reinterpret_cast<void*>(static_cast<uintptr_t>(window)) : nullptr;
}

bool IEditorWindow::PresentsWithShm() const {
    return presenter && presenter->UsingShm();
}

// ---- Window lifecycle -----------------------------------------------------------------------------

void* IEditorWindow::OpenWindow(void* parent) {
    const auto parentId = reinterpret_cast<uintptr_t>(parent);
    if (parentId == 0 || parentId > kMaxWindowId) return nullptr;
    int16_t x = 0, y = 0;
    if (connection && windowAlive) {
        // Reopened: the new window takes the old one's place in its parent.
        auto* geometry = connection->x.get_geometry_reply(
            connection->connection, connection->x.get_geometry(connection->connection, window), nullptr);
        if (geometry) {
            x = geometry->x;
            y = geometry->y;
            std::free(geometry);
        }
    }
    CloseWindow();
    // A window-less editor may have an offscreen popup open; it has no place in a window.
    IOffscreenEditor::CloseWindow();

    connection = X11Connection::Open();
    if (!connection) return nullptr;
    const XcbLibrary& xcb = connection->x;
    xcb_connection_t* c = connection->connection;
    // The parent must exist; its depth and visual are the window's (a host may use a 32-bit
    // visual for its windows, where the screen's default would not match).
    auto* parentGeometry =
        xcb.get_geometry_reply(c, xcb.get_geometry(c, static_cast<uint32_t>(parentId)), nullptr);
    if (!parentGeometry) {
        connection.reset();
        return nullptr;
    }
    const uint8_t depth = parentGeometry->depth;
    std::free(parentGeometry);
    // The back buffer's words are sent as they are: only a 24- or 32-bit little-endian screen
    // shows them right. Elsewhere no window rather than wrong colours; the host falls back to its
    // own controls.
    if ((depth != 24 && depth != 32) || xcb.get_setup(c)->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) {
        connection.reset();
        return nullptr;
    }
    const uint32_t id = xcb.generate_id(c);
    const uint32_t events = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                            XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                            XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_KEY_PRESS |
                            XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    // No background: the server never clears the window to a colour before our first present,
    // which comes right after mapping. The border pixel is given because a window whose depth
    // differs from the screen's cannot copy its parent's border.
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, events};
    const uint16_t w = static_cast<uint16_t>(width > 0 ? width : 1);
    const uint16_t h = static_cast<uint16_t>(height > 0 ? height : 1);
    xcb_generic_error_t* error = xcb.request_check(
        c, xcb.create_window_checked(c, depth, id, static_cast<uint32_t>(parentId), x, y, w, h, 0,
                                     XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                                     XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK, values));
    if (error) {
        // A parent that went away meanwhile, or another of its faults: no window, and no
        // connection kept for it.
        std::free(error);
        connection.reset();
        return nullptr;
    }
    window = id;
    windowAlive = true;
    keyboard.Load(xcb, c);
    presenter = std::make_unique<X11Presenter>(*connection, window, depth);
    captured = false;
    doubleClick.Reset();
    clock = TickClock(frameRate);
    clock.Start(TickClock::Now());
    xcb.map_window(c, window);
    if (input.HostWantsFocus()) TakeFocus(false);
    MarkAllDirty();
    // The whole editor at once: the window never shows anything but the editor.
    if (backBuffer) PaintArea(IPixelRect(0, 0, width, height));
    Flush();
    ReadEvents();
    return windowAlive ? NativeWindow() : nullptr;
}

void IEditorWindow::CloseWindow() {
    if (!connection) {
        IOffscreenEditor::CloseWindow();
        return;
    }
    const bool alive = windowAlive;
    const uint32_t id = window;
    ForgetWindow();
    presenter.reset();
    if (alive) connection->x.destroy_window(connection->connection, id);
    // A destroy of a window its parent took along only comes back as an error, dropped with the
    // connection.
    Flush();
    connection.reset();
    WebLauncher::Reap();
}

void IEditorWindow::ForgetWindow() {
    if (!windowAlive) return;
    windowAlive = false;
    FlushEndEdit();
    popup.reset();
    popupModel.reset();
    ForgetPopup();
    captured = false;
    previousFocus = 0;
}

void IEditorWindow::Flush() {
    if (connection) connection->x.flush(connection->connection);
}

// ---- Events -----------------------------------------------------------------------------------------

void IEditorWindow::Idle() {
    WebLauncher::Reap();
    if (!connection) return;
    ReadEvents();
    if (!windowAlive) return;
    for (int due = clock.Due(TickClock::Now()); due > 0 && windowAlive; --due) Tick();
    Flush();
}

int IEditorWindow::EventFd() const {
    return connection ? connection->x.get_file_descriptor(connection->connection) : -1;
}

void IEditorWindow::OnFdReady() {
    WebLauncher::Reap();
    ReadEvents();
}

void IEditorWindow::OnTimer() {
    WebLauncher::Reap();
    if (!connection) return;
    ReadEvents();
    if (!windowAlive) return;
    Tick();
    Flush();
}

void IEditorWindow::ReadEvents() {
    if (!connection) return;
    const XcbLibrary& xcb = connection->x;
    IPixelRect exposed;
    // Of a burst of pointer motions only the latest counts; it is handled before any other event
    // so that the order of moves and presses stays as it was.
    bool moved = false;
    int moveX = 0, moveY = 0;
    uint16_t moveState = 0;
    for (int count = 0; count < kMaxEventsPerRead && windowAlive; ++count) {
        xcb_generic_event_t* event = xcb.poll_for_event(connection->connection);
        if (!event) break;
        const uint8_t type = event->response_type & 0x7F;
        if (type == XCB_MOTION_NOTIFY) {
            const auto* motion = reinterpret_cast<const xcb_motion_notify_event_t*>(event);
            moved = true;
            moveX = motion->event_x;
            moveY = motion->event_y;
            moveState = motion->state;
        } else if (type == XCB_EXPOSE) {
            const auto* expose = reinterpret_cast<const xcb_expose_event_t*>(event);
            exposed = exposed.Union(
                IPixelRect(expose->x, expose->y, expose->x + expose->width, expose->y + expose->height));
        } else {
            if (moved) input.Motion(moveX, moveY, KeysOf(moveState));
            moved = false;
            if (windowAlive) HandleEvent(*event);
        }
        std::free(event);
    }
    if (moved && windowAlive) input.Motion(moveX, moveY, KeysOf(moveState));
    if (!exposed.IsEmpty() && windowAlive) PresentArea(exposed);
    // A broken connection (server gone) ends the window as a destroyed parent does.
    if (windowAlive && connection->Broken()) ForgetWindow();
    Flush();
}

void IEditorWindow::HandleEvent(const xcb_generic_event_t& event) {
    switch (event.response_type & 0x7F) {
        case 0: {
            // An error on our connection: nothing of the host's, dropped; a failed shared-memory
            // present is made again the plain way.
            const auto& error = reinterpret_cast<const xcb_generic_error_t&>(event);
            if (presenter && presenter->SharedMemoryFailed(error.major_code))
                PresentArea(IPixelRect(0, 0, width, height));
            break;
        }
        case XCB_BUTTON_PRESS:
            ButtonPress(reinterpret_cast<const xcb_button_press_event_t&>(event));
            break;
        case XCB_BUTTON_RELEASE:
            ButtonRelease(reinterpret_cast<const xcb_button_press_event_t&>(event));
            break;
        case XCB_KEY_PRESS:
            KeyPress(reinterpret_cast<const xcb_key_press_event_t&>(event));
            break;
        case XCB_LEAVE_NOTIFY: {
            const auto& leave = reinterpret_cast<const xcb_leave_notify_event_t&>(event);
            // Leaving while a button is held (the implicit grab) is no mouse-out, as on Windows.
            if (leave.mode == XCB_NOTIFY_MODE_NORMAL && !captured) {
                doubleClick.Reset();
                input.Leave();
            }
            break;
        }
        case XCB_DESTROY_NOTIFY:
            if (reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window == window) ForgetWindow();
            break;
        case XCB_MAPPING_NOTIFY:
            keyboard.Load(connection->x, connection->connection);
            break;
        default:
            break;
    }
}

void IEditorWindow::ButtonPress(const xcb_button_press_event_t& event) {
    const int x = event.event_x, y = event.event_y;
    const IMouseKeys keys = KeysOf(event.state);
    if (event.detail == kWheelUp || event.detail == kWheelDown) {
        input.Wheel(x, y, keys, event.detail == kWheelUp ? 1 : -1);
        return;
    }
    if (event.detail != kLeftButton && event.detail != kRightButton) return;
    if (input.HostWantsFocus() && !popupControl) TakeFocus(false);
    if (event.detail == kRightButton) {
        doubleClick.Reset();
        input.Press(EditorInput::Button::Right, x, y, keys);
        return;
    }
    // Inside the drawn list a press chooses the entry beneath; the entry box keeps its text.
    if (popup && popup->Rect().Contains(x, y)) {
        if (popupModel) input.PopupChoose(*popupModel, popup->EntryAt(x, y));
        return;
    }
    if (doubleClick.Press(event.time, x, y))
        input.DoubleClick(x, y, keys);
    else
        input.Press(EditorInput::Button::Left, x, y, keys);
}

void IEditorWindow::ButtonRelease(const xcb_button_press_event_t& event) {
    if (event.detail != kLeftButton && event.detail != kRightButton) return;
    IMouseKeys keys = KeysOf(event.state);
    // The state is the one before the release: the released button is no longer held.
    if (event.detail == kLeftButton) keys.left = false;
    if (event.detail == kRightButton) keys.right = false;
    input.Release(event.event_x, event.event_y, keys);
}

void IEditorWindow::KeyPress(const xcb_key_press_event_t& event) {
    const uint32_t keysym = keyboard.Keysym(event.detail, event.state);
    if (!popupModel) {
        input.Key(event.event_x, event.event_y, X11Keys::VirtualKey(keysym));
        return;
    }
    const ValuePopupModel::Key key = X11Keys::EditKey(keysym);
    const char typed = key == ValuePopupModel::Key::None ? X11Keys::Character(keysym) : '\0';
    if (input.PopupKey(*popupModel, key, typed) == ValuePopupModel::Result::Changed) ShowPopup();
}

// ---- Focus ------------------------------------------------------------------------------------------

void IEditorWindow::TakeFocus(bool rememberPrevious) {
    if (!windowAlive) return;
    const XcbLibrary& xcb = connection->x;
    xcb_connection_t* c = connection->connection;
    if (rememberPrevious) {
        auto* focus = xcb.get_input_focus_reply(c, xcb.get_input_focus(c), nullptr);
        previousFocus = focus && focus->focus != window ? focus->focus : 0;
        std::free(focus);
    }
    xcb.set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
}

void IEditorWindow::GiveBackFocus() {
    if (!windowAlive || previousFocus == 0) return;
    // The window that had it may be gone meanwhile: the error is dropped with the others.
    connection->x.set_input_focus(connection->connection, XCB_INPUT_FOCUS_PARENT, previousFocus,
                                  XCB_CURRENT_TIME);
    previousFocus = 0;
}

// ---- Presenting and popups --------------------------------------------------------------------------

bool IEditorWindow::PresentArea(const IPixelRect& rect) {
    if (!windowAlive) return IOffscreenEditor::PresentArea(rect);
    if (!backBuffer || !presenter) return true;
    // The popup lies over the controls: drawn again over whatever was just painted beneath it.
    if (popup && popup->Rect().Overlaps(rect)) popup->Draw(*this);
    presenter->Present(*backBuffer, rect);
    return true;
}

void IEditorWindow::ShowPopup() {
    if (!popup || !presenter || !backBuffer) return;
    popup->Draw(*this);
    presenter->Present(*backBuffer, popup->Rect());
    Flush();
}

void IEditorWindow::ShowValuePrompt(IControl* control, IParameter* parameter) {
    if (!control || !parameter || popupControl) return;
    IOffscreenEditor::ShowValuePrompt(control, parameter);
    if (!windowAlive || !popupModel) return;
    popup = std::make_unique<DrawnPopup>(*popupModel, *parameter, control->rect, width, height);
    TakeFocus(true);
    ShowPopup();
}

void IEditorWindow::DestroyPopup() {
    if (!popup) {
        IOffscreenEditor::DestroyPopup();
        return;
    }
    const IPixelRect area = popup->Rect();
    popup.reset();
    IOffscreenEditor::DestroyPopup();
    GiveBackFocus();
    // What lay beneath the popup is painted again.
    for (IControl* control : controls)
        if (control->rect.Overlaps(area)) control->MarkDirty(false);
    PaintArea(area);
    Flush();
}

void IEditorWindow::SetSize(int newWidth, int newHeight) {
    IOffscreenEditor::SetSize(newWidth, newHeight);
    if (!windowAlive) return;
    const uint32_t size[] = {static_cast<uint32_t>(width > 0 ? width : 1),
                             static_cast<uint32_t>(height > 0 ? height : 1)};
    connection->x.configure_window(connection->connection, window,
                                   XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    Flush();
}

// ---- Host services ------------------------------------------------------------------------------------

bool IEditorWindow::OpenWebAddress(const char* address, const char*, const char*, const char*) {
    return WebLauncher::Open(address);
}

int IEditorWindow::HostWheel(float notches) {
    if (!windowAlive) return 0;
    const XcbLibrary& xcb = connection->x;
    auto* pointer = xcb.query_pointer_reply(connection->connection,
                                            xcb.query_pointer(connection->connection, window), nullptr);
    if (!pointer) return 0;
    const int x = pointer->win_x, y = pointer->win_y;
    const bool over = pointer->same_screen && x >= 0 && y >= 0 && x < width && y < height;
    const uint16_t state = pointer->mask;
    std::free(pointer);
    const double whole = notches;
    if (!over || !(whole > -1.0e6 && whole < 1.0e6)) return 0;
    input.Wheel(x, y, KeysOf(state), static_cast<int>(whole));
    Flush();
    return 1;
}

intptr_t IEditorWindow::OffscreenRequest(int32_t request, void* data) {
    return windowAlive ? 0 : IOffscreenEditor::OffscreenRequest(request, data);
}
