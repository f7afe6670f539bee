#include "tools/vsthost/host/clap/ClapParentWindow.h"

#include <cstdlib>
#include <memory>

#include "base/x11/XcbLibrary.h"

namespace {

xcb_connection_t* Connection(void* platform) {
    return static_cast<xcb_connection_t*>(platform);
}

}  // namespace

ClapParentWindow::~ClapParentWindow() {
    Close();
}

bool ClapParentWindow::Open(int width, int height, std::string& error) {
    Close();
    const XcbLibrary* xcb = XcbLibrary::Get();
    if (!xcb) {
        error = "libxcb is not available";
        return false;
    }
    int screenNumber = 0;
    xcb_connection_t* connection = xcb->connect(nullptr, &screenNumber);
    if (!connection || xcb->connection_has_error(connection)) {
        if (connection) xcb->disconnect(connection);
        error = "cannot connect to the X display";
        return false;
    }
    platform = connection;
    xcb_screen_iterator_t it = xcb->setup_roots_iterator(xcb->get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i) xcb->screen_next(&it);
    xcb_window_t id = xcb->generate_id(connection);
    xcb->create_window(connection, XCB_COPY_FROM_PARENT, id, it.data->root, 0, 0,
                       static_cast<uint16_t>(width), static_cast<uint16_t>(height), 0,
                       XCB_WINDOW_CLASS_INPUT_OUTPUT, it.data->root_visual, 0, nullptr);
    xcb->map_window(connection, id);
    xcb->flush(connection);
    window.api = CLAP_WINDOW_API_X11;
    window.x11 = id;
    return true;
}

int ClapParentWindow::ChildCount() const {
    if (!platform) return 0;
    const XcbLibrary* xcb = XcbLibrary::Get();
    xcb_connection_t* connection = Connection(platform);
    auto id = static_cast<xcb_window_t>(window.x11);
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb->query_tree_reply(connection, xcb->query_tree(connection, id), nullptr), &std::free);
    return tree ? xcb->query_tree_children_length(tree.get()) : 0;
}

void ClapParentWindow::Close() {
    if (!platform) return;
    const XcbLibrary* xcb = XcbLibrary::Get();
    xcb->destroy_window(Connection(platform), static_cast<xcb_window_t>(window.x11));
    xcb->flush(Connection(platform));
    xcb->disconnect(Connection(platform));
    platform = nullptr;
    window = {};
}

bool ClapParentWindow::Drag(int x, int y, int dy) const {
    const XcbLibrary* xcb = XcbLibrary::Get();
    if (!platform || !xcb->test.present) return false;
    xcb_connection_t* connection = Connection(platform);
    const xcb_query_extension_reply_t* test = xcb->get_extension_data(connection, xcb->test.id);
    if (!test || !test->present) return false;
    xcb_window_t root = xcb->setup_roots_iterator(xcb->get_setup(connection)).data->root;
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> at(
        xcb->translate_coordinates_reply(
            connection,
            xcb->translate_coordinates(connection, static_cast<xcb_window_t>(window.x11), root, 0, 0),
            nullptr),
        &std::free);
    if (!at) return false;
    auto fake = [&](uint8_t type, uint8_t detail, int px, int py) {
        xcb->test.test_fake_input(connection, type, detail, XCB_CURRENT_TIME, root,
                                  static_cast<int16_t>(at->dst_x + px), static_cast<int16_t>(at->dst_y + py),
                                  0);
    };
    fake(XCB_MOTION_NOTIFY, 0, x, y);
    fake(XCB_BUTTON_PRESS, 1, x, y);
    for (int step = 1; step <= 4; ++step) fake(XCB_MOTION_NOTIFY, 0, x, y - dy * step / 4);
    fake(XCB_BUTTON_RELEASE, 1, x, y - dy);
    xcb->flush(connection);
    return true;
}
