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
