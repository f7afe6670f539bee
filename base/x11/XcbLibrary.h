#pragma once

#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

// libxcb and its optional helpers, loaded at run time with dlopen, so that nothing of ours links
// an X library: a plug-in or host that never opens a window runs where no X library is installed.
// The system headers give only the types (decltype of each function); every call goes through
// the pointers here.
//
// The libraries stay loaded for the life of the process once loaded: a connection, a reply or an
// event may outlive any one user, and unloading under them would crash.
//
// Each pointer is named after the xcb function without its "xcb_" prefix. The optional sub-tables
// (shm, test) each come from their own library and say with `present` whether they were
// found whole; when false, every pointer of that table is null.
//
// Threads: Get() [any thread]; the tables are immutable after loading, and the functions are
// libxcb's (thread-safe per connection, as libxcb documents).
class XcbLibrary {
  public:
    // libxcb.so.1 with every required symbol, loaded on the first call; null when it or any
    // required symbol is missing. [any thread]
    static const XcbLibrary* Get();

#define VESMAR_XCB_FN(name) decltype(&xcb_##name) name = nullptr;
#define VESMAR_XCB_CORE(X)                 \
    X(connect)                             \
    X(disconnect)                          \
    X(connection_has_error)                \
    X(parse_display)                       \
    X(get_setup)                           \
    X(setup_roots_iterator)                \
    X(screen_next)                         \
    X(generate_id)                         \
    X(get_maximum_request_length)          \
    X(get_extension_data)                  \
    X(prefetch_extension_data)             \
    X(create_window)                       \
    X(create_window_checked)               \
    X(destroy_window)                      \
    X(destroy_window_checked)              \
    X(map_window)                          \
    X(unmap_window)                        \
    X(configure_window)                    \
    X(change_window_attributes)            \
    X(get_window_attributes)               \
    X(get_window_attributes_reply)         \
    X(change_property)                     \
    X(get_property)                        \
    X(get_property_reply)                  \
    X(get_property_value)                  \
    X(get_property_value_length)           \
    X(intern_atom)                         \
    X(intern_atom_reply)                   \
    X(create_gc)                           \
    X(free_gc)                             \
    X(put_image)                           \
    X(put_image_checked)                   \
    X(get_image)                           \
    X(get_image_reply)                     \
    X(get_image_data)                      \
    X(get_image_data_length)               \
    X(get_geometry)                        \
    X(get_geometry_reply)                  \
    X(translate_coordinates)               \
    X(translate_coordinates_reply)         \
    X(query_tree)                          \
    X(query_tree_reply)                    \
    X(query_tree_children)                 \
    X(query_tree_children_length)          \
    X(query_pointer)                       \
    X(query_pointer_reply)                 \
    X(warp_pointer)                        \
    X(set_input_focus)                     \
    X(get_input_focus)                     \
    X(get_input_focus_reply)               \
    X(get_keyboard_mapping)                \
    X(get_keyboard_mapping_reply)          \
    X(get_keyboard_mapping_keysyms)        \
    X(get_keyboard_mapping_keysyms_length) \
    X(send_event)                          \
    X(flush)                               \
    X(poll_for_event)                      \
    X(wait_for_event)                      \
    X(request_check)                       \
    X(discard_reply)                       \
    X(get_file_descriptor)
    VESMAR_XCB_CORE(VESMAR_XCB_FN)

    // MIT-SHM, from libxcb-shm.so.0: shared-memory images.
    struct Shm {
        bool present = false;
        xcb_extension_t* id = nullptr;  // the data symbol xcb_shm_id
#define VESMAR_XCB_SHM(X)      \
    X(shm_query_version)       \
    X(shm_query_version_reply) \
    X(shm_attach)              \
    X(shm_attach_checked)      \
    X(shm_detach)              \
    X(shm_put_image)           \
    X(shm_put_image_checked)
        VESMAR_XCB_SHM(VESMAR_XCB_FN)
    } shm;

    // XTEST, from libxcb-xtest.so.0: synthetic input through the server (hosts and tests).
    struct Test {
        bool present = false;
        xcb_extension_t* id = nullptr;  // the data symbol xcb_test_id
#define VESMAR_XCB_TEST(X) X(test_fake_input)
        VESMAR_XCB_TEST(VESMAR_XCB_FN)
    } test;

  private:
    XcbLibrary() = default;
    bool Load();
};
