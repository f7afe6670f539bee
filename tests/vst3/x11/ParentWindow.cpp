#include "tests/vst3/ParentWindow.h"

#include <cstdint>
#include <cstdlib>

#include "base/x11/XcbLibrary.h"

struct ParentWindow::Native {
    const XcbLibrary* x = nullptr;
    xcb_connection_t* connection = nullptr;
    uint32_t window = 0;

    void Sync() { std::free(x->get_input_focus_reply(connection, x->get_input_focus(connection), nullptr)); }
};

ParentWindow::ParentWindow() : native(std::make_unique<Native>()) {
    Native& n = *native;
    n.x = XcbLibrary::Get();
    const char* display = std::getenv("DISPLAY");
    if (!n.x || !display || !*display) return;
    n.connection = n.x->connect(nullptr, nullptr);
    if (!n.connection || n.x->connection_has_error(n.connection)) {
        if (n.connection) n.x->disconnect(n.connection);
        n.connection = nullptr;
        return;
    }
    xcb_screen_t* screen = n.x->setup_roots_iterator(n.x->get_setup(n.connection)).data;
    n.window = n.x->generate_id(n.connection);
    const uint32_t values[] = {screen->black_pixel};
    n.x->create_window(n.connection, XCB_COPY_FROM_PARENT, n.window, screen->root, 10, 10, 480, 260, 0,
                       XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, values);
    n.x->map_window(n.connection, n.window);
    n.Sync();
}

ParentWindow::~ParentWindow() {
    if (!native->connection) return;
    native->x->destroy_window(native->connection, native->window);
    native->Sync();
    native->x->disconnect(native->connection);
}

bool ParentWindow::Ok() const {
    return native->connection != nullptr;
}

void* ParentWindow::Handle() const {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(native->window));
}

int ParentWindow::ChildCount() {
    native->Sync();
    auto* tree = native->x->query_tree_reply(
        native->connection, native->x->query_tree(native->connection, native->window), nullptr);
    if (!tree) return 0;
    const int count = native->x->query_tree_children_length(tree);
    std::free(tree);
    return count;
}
