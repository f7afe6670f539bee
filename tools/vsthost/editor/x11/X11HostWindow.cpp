#include "tools/vsthost/editor/x11/X11HostWindow.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace {

// Where the window opens: the top-left corner of the screen, clear of nothing a test needs.
constexpr int16_t kWindowX = 40, kWindowY = 40;
// A mid grey behind the editor, as the Windows host's window class paints.
constexpr uint32_t kBackground = 0x808080;
constexpr uint32_t kMaxReplyBytes = 64u << 20;
// A server that resets when its last client leaves (Xvfb does, by default) hangs up on the clients
// that connect meanwhile: a window opened right after ours closed tries again for this long.
constexpr auto kResetWait = std::chrono::seconds(1);
constexpr auto kResetRetry = std::chrono::milliseconds(20);

struct FreeReply {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// A connection to the display, tried again while a resetting server hangs up; null when none.
xcb_connection_t* Connect(const XcbLibrary& xcb, int& screenNumber) {
    const auto giveUp = std::chrono::steady_clock::now() + kResetWait;
    for (;;) {
        xcb_connection_t* connection = xcb.connect(nullptr, &screenNumber);
        if (connection && !xcb.connection_has_error(connection)) return connection;
        if (connection) xcb.disconnect(connection);
        if (std::chrono::steady_clock::now() >= giveUp) return nullptr;
        std::this_thread::sleep_for(kResetRetry);
    }
}

}  // namespace

X11HostWindow::~X11HostWindow() {
    Close();
}

bool X11HostWindow::Open(int width, int height, const std::string& title, std::string& error) {
    xcb = XcbLibrary::Get();
    if (!xcb) {
        error = "libxcb.so.1 is not installed";
        return false;
    }
    int screenNumber = 0;
    connection = Connect(*xcb, screenNumber);
    if (!connection) {
        error = "cannot connect to the X display";
        Close();
        return false;
    }
    xcb_screen_iterator_t it = xcb->setup_roots_iterator(xcb->get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i) xcb->screen_next(&it);
    if (it.rem <= 0 || !it.data) {
        error = "the X display has no such screen";
        Close();
        return false;
    }
    screen = it.data;
    xtest = xcb->test.present && xcb->get_extension_data(connection, xcb->test.id) &&
            xcb->get_extension_data(connection, xcb->test.id)->present;

    window = xcb->generate_id(connection);
    const uint32_t values[] = {kBackground, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb->create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, kWindowX, kWindowY,
                       static_cast<uint16_t>(width), static_cast<uint16_t>(height), 0,
                       XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                       XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    const auto length = static_cast<uint32_t>(title.size());
    xcb->change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                         length, title.data());
    // The UTF-8 title window managers show.
    static const char kNetName[] = "_NET_WM_NAME", kUtf8[] = "UTF8_STRING";
    xcb_intern_atom_cookie_t nameCookie = xcb->intern_atom(connection, 0, sizeof kNetName - 1, kNetName);
    xcb_intern_atom_cookie_t utf8Cookie = xcb->intern_atom(connection, 0, sizeof kUtf8 - 1, kUtf8);
    Reply<xcb_intern_atom_reply_t> name(xcb->intern_atom_reply(connection, nameCookie, nullptr));
    Reply<xcb_intern_atom_reply_t> utf8(xcb->intern_atom_reply(connection, utf8Cookie, nullptr));
    if (name && utf8)
        xcb->change_property(connection, XCB_PROP_MODE_REPLACE, window, name->atom, utf8->atom, 8, length,
                             title.data());
    xcb->map_window(connection, window);
    // The keyboard goes to our window, as to a host window the user clicked into; keys then reach
    // the editor under the pointer, or whichever of its windows takes the focus.
    xcb->set_input_focus(connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    if (!Sync()) {
        error = "the X connection broke while opening the host window";
        Close();
        return false;
    }
    return true;
}

void X11HostWindow::Close() {
    if (connection) {
        if (window) xcb->destroy_window(connection, window);
        xcb->flush(connection);
        xcb->disconnect(connection);
    }
    connection = nullptr;
    screen = nullptr;
    window = 0;
    xtest = false;
}

bool X11HostWindow::Sync() {
    if (!connection || xcb->connection_has_error(connection)) return false;
    Reply<xcb_get_input_focus_reply_t> reply(
        xcb->get_input_focus_reply(connection, xcb->get_input_focus(connection), nullptr));
    while (xcb_generic_event_t* event = xcb->poll_for_event(connection)) std::free(event);
    return reply != nullptr;
}

uint32_t X11HostWindow::NewestChild() {
    if (!connection) return 0;
    Reply<xcb_query_tree_reply_t> tree(
        xcb->query_tree_reply(connection, xcb->query_tree(connection, window), nullptr));
    if (!tree) return 0;
    const int count = xcb->query_tree_children_length(tree.get());
    // Children come bottom first: the last is the newest on top.
    return count > 0 ? xcb->query_tree_children(tree.get())[count - 1] : 0;
}

bool X11HostWindow::ToScreen(uint32_t w, int x, int y, int& screenX, int& screenY) {
    Reply<xcb_translate_coordinates_reply_t> at(xcb->translate_coordinates_reply(
        connection,
        xcb->translate_coordinates(connection, w, screen->root, static_cast<int16_t>(x),
                                   static_cast<int16_t>(y)),
        nullptr));
    if (!at) return false;
    screenX = at->dst_x;
    screenY = at->dst_y;
    return true;
}

void X11HostWindow::FakeMotion(int x, int y) {
    if (!xtest) return;
    xcb->test.test_fake_input(connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, screen->root,
                              static_cast<int16_t>(x), static_cast<int16_t>(y), 0);
}

void X11HostWindow::FakeButton(uint8_t button, bool down) {
    if (!xtest) return;
    xcb->test.test_fake_input(connection, down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, button,
                              XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

void X11HostWindow::FakeKey(uint8_t keycode, bool down) {
    if (!xtest) return;
    xcb->test.test_fake_input(connection, down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME,
                              XCB_NONE, 0, 0, 0);
}

bool X11HostWindow::Capture(uint32_t w, int width, int height, Screenshot& shot, std::string& error) {
    xcb_generic_error_t* failure = nullptr;
    Reply<xcb_get_image_reply_t> image(
        xcb->get_image_reply(connection,
                             xcb->get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0,
                                            static_cast<uint16_t>(width), static_cast<uint16_t>(height), ~0u),
                             &failure));
    std::free(failure);
    if (!image) {
        error = "cannot read the editor window's pixels (GetImage failed)";
        return false;
    }
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    const int length = xcb->get_image_data_length(image.get());
    const xcb_setup_t* setup = xcb->get_setup(connection);
    // Only the format every current server uses for a 24-bit screen: 32 bits a pixel, the
    // server's byte order little-endian as ours, 0x00RRGGBB in each.
    if (length < 0 || static_cast<uint32_t>(length) > kMaxReplyBytes) {
        error = "the editor window's picture is larger than this host reads";
        return false;
    }
    if ((image->depth != 24 && image->depth != 32) || static_cast<size_t>(length) != pixels * 4 ||
        setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) {
        error = "the editor window's pixels come in a format this host does not read (depth " +
                std::to_string(image->depth) + ")";
        return false;
    }
    shot.width = width;
    shot.height = height;
    shot.pixels.resize(pixels);
    std::memcpy(shot.pixels.data(), xcb->get_image_data(image.get()), pixels * 4);
    for (uint32_t& p : shot.pixels) p |= 0xFF000000u;
    return true;
}
