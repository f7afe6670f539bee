#include "tests/editor/x11/X11TestDisplay.h"

#include <chrono>
#include <cstdlib>
#include <thread>

X11TestDisplay::X11TestDisplay() {
    x = XcbLibrary::Get();
    const char* display = std::getenv("DISPLAY");
    if (!x || !display || !*display) return;
    // A server whose last client just left resets itself and refuses connections for a moment
    // (each test runs in a process of its own): tried for up to two seconds.
    xcb_connection_t* c = nullptr;
    for (int attempt = 0; attempt < 100; ++attempt) {
        c = x->connect(nullptr, nullptr);
        if (c && !x->connection_has_error(c)) break;
        if (c) x->disconnect(c);
        c = nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!c) return;
    connection = c;
    screen = x->setup_roots_iterator(x->get_setup(c)).data;
}

X11TestDisplay::~X11TestDisplay() {
    if (connection) x->disconnect(connection);
}

uint32_t X11TestDisplay::CreateParent(int left, int top, int width, int height) {
    const uint32_t id = x->generate_id(connection);
    const uint32_t values[] = {screen->black_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    x->create_window(connection, XCB_COPY_FROM_PARENT, id, screen->root, static_cast<int16_t>(left),
                     static_cast<int16_t>(top), static_cast<uint16_t>(width), static_cast<uint16_t>(height),
                     0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                     XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    x->map_window(connection, id);
    Sync();
    return id;
}

void X11TestDisplay::Destroy(uint32_t window) {
    x->destroy_window(connection, window);
    Sync();
}

void X11TestDisplay::Move(uint32_t window, int left, int top) {
    const uint32_t place[] = {static_cast<uint32_t>(left), static_cast<uint32_t>(top)};
    x->configure_window(connection, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, place);
    Sync();
}

std::vector<uint32_t> X11TestDisplay::Children(uint32_t window) {
    std::vector<uint32_t> out;
    auto* tree = x->query_tree_reply(connection, x->query_tree(connection, window), nullptr);
    if (!tree) return out;
    const xcb_window_t* children = x->query_tree_children(tree);
    out.assign(children, children + x->query_tree_children_length(tree));
    std::free(tree);
    return out;
}

bool X11TestDisplay::Geometry(uint32_t window, int& left, int& top, int& width, int& height) {
    auto* g = x->get_geometry_reply(connection, x->get_geometry(connection, window), nullptr);
    if (!g) return false;
    left = g->x;
    top = g->y;
    width = g->width;
    height = g->height;
    std::free(g);
    return true;
}

uint32_t X11TestDisplay::Pixel(uint32_t window, int px, int py) {
    auto* image =
        x->get_image_reply(connection,
                           x->get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window,
                                        static_cast<int16_t>(px), static_cast<int16_t>(py), 1, 1, ~0u),
                           nullptr);
    if (!image) return 0xFFFFFFFF;
    uint32_t pixel = 0xFFFFFFFF;
    if (x->get_image_data_length(image) >= 4) {
        const uint8_t* data = x->get_image_data(image);
        pixel = static_cast<uint32_t>(data[0] | data[1] << 8 | data[2] << 16);
    }
    std::free(image);
    return pixel;
}

void X11TestDisplay::Fake(uint8_t type, uint8_t detail, int rootX, int rootY) {
    x->test.test_fake_input(connection, type, detail, XCB_CURRENT_TIME, screen->root,
                            static_cast<int16_t>(rootX), static_cast<int16_t>(rootY), 0);
}

void X11TestDisplay::MoveTo(int rootX, int rootY) {
    Fake(XCB_MOTION_NOTIFY, 0, rootX, rootY);
    Sync();
}

void X11TestDisplay::Button(uint8_t button, bool press) {
    Fake(press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, button);
    Sync();
}

void X11TestDisplay::Click(uint8_t button, int rootX, int rootY) {
    MoveTo(rootX, rootY);
    Button(button, true);
    Button(button, false);
}

uint8_t X11TestDisplay::KeycodeOf(uint32_t keysym) {
    const xcb_setup_t* setup = x->get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto* map = x->get_keyboard_mapping_reply(
        connection, x->get_keyboard_mapping(connection, setup->min_keycode, static_cast<uint8_t>(count)),
        nullptr);
    if (!map) return 0;
    const xcb_keysym_t* syms = x->get_keyboard_mapping_keysyms(map);
    const int per = map->keysyms_per_keycode;
    uint8_t code = 0;
    for (int k = 0; k < count && !code; ++k)
        for (int col = 0; col < per && col < 2; ++col)
            if (syms[k * per + col] == keysym) code = static_cast<uint8_t>(setup->min_keycode + k);
    std::free(map);
    return code;
}

void X11TestDisplay::Key(uint32_t keysym) {
    const bool upper = keysym >= 'A' && keysym <= 'Z';
    const uint8_t code = KeycodeOf(upper ? keysym - 'A' + 'a' : keysym);
    const uint8_t shift = upper ? KeycodeOf(0xFFE1) : 0;
    if (shift) Fake(XCB_KEY_PRESS, shift);
    Fake(XCB_KEY_PRESS, code);
    Fake(XCB_KEY_RELEASE, code);
    if (shift) Fake(XCB_KEY_RELEASE, shift);
    Sync();
}

void X11TestDisplay::Sync() {
    std::free(x->get_input_focus_reply(connection, x->get_input_focus(connection), nullptr));
}

uint32_t X11TestDisplay::Focused() {
    auto* focus = x->get_input_focus_reply(connection, x->get_input_focus(connection), nullptr);
    const uint32_t window = focus ? focus->focus : 0;
    std::free(focus);
    return window;
}

void X11TestDisplay::Focus(uint32_t window) {
    x->set_input_focus(connection, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    Sync();
}
