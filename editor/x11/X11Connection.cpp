#include "editor/x11/X11Connection.h"

#include <cstdlib>
#include <cstring>

namespace {

// A display without a host part (":1", "unix:1" or a socket path) is on this machine, where the
// server can map our shared memory.
bool IsLocalDisplay(const XcbLibrary& x) {
    char* host = nullptr;
    int display = 0, screen = 0;
    if (!x.parse_display(nullptr, &host, &display, &screen)) return false;
    const bool local = !host || host[0] == '\0' || std::strcmp(host, "unix") == 0 || host[0] == '/';
    std::free(host);
    return local;
}

bool ServerOffersShm(const XcbLibrary& x, xcb_connection_t* connection) {
    if (!x.shm.present) return false;
    const xcb_query_extension_reply_t* extension = x.get_extension_data(connection, x.shm.id);
    if (!extension || !extension->present) return false;
    xcb_generic_error_t* error = nullptr;
    auto* reply = x.shm.shm_query_version_reply(connection, x.shm.shm_query_version(connection), &error);
    std::free(error);
    const bool usable = reply != nullptr;
    std::free(reply);
    return usable;
}

}  // namespace

std::unique_ptr<X11Connection> X11Connection::Open() {
    const XcbLibrary* x = XcbLibrary::Get();
    const char* display = std::getenv("DISPLAY");
    if (!x || !display || !*display) return nullptr;
    int screenNumber = 0;
    xcb_connection_t* connection = x->connect(nullptr, &screenNumber);
    if (!connection) return nullptr;
    if (x->connection_has_error(connection)) {
        x->disconnect(connection);
        return nullptr;
    }
    xcb_screen_iterator_t it = x->setup_roots_iterator(x->get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i) x->screen_next(&it);
    if (it.rem <= 0 || !it.data) {
        x->disconnect(connection);
        return nullptr;
    }
    const bool shm = IsLocalDisplay(*x) && ServerOffersShm(*x, connection);
    return std::unique_ptr<X11Connection>(new X11Connection(*x, connection, it.data, shm));
}

X11Connection::X11Connection(const XcbLibrary& x, xcb_connection_t* connection, xcb_screen_t* screen,
                             bool shmUsable)
    : x(x), connection(connection), screen(screen), shmUsable(shmUsable) {}

X11Connection::~X11Connection() {
    // Unread events and errors go with the connection.
    x.disconnect(connection);
}

void X11Connection::Sync() {
    std::free(x.get_input_focus_reply(connection, x.get_input_focus(connection), nullptr));
}
