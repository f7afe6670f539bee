#include "base/x11/XcbLibrary.h"

#include <dlfcn.h>

namespace {

void* Open(const char* soname) {
    return dlopen(soname, RTLD_NOW | RTLD_LOCAL);
}

// Loads every named symbol into its pointer; false when any is missing.
template <typename Fn>
bool Resolve(void* handle, const char* name, Fn& out) {
    out = reinterpret_cast<Fn>(dlsym(handle, name));
    return out != nullptr;
}

}  // namespace

#define VESMAR_XCB_RESOLVE(name) ok = Resolve(handle, "xcb_" #name, table.name) && ok;
#define VESMAR_XCB_CLEAR(name) table.name = nullptr;

bool XcbLibrary::Load() {
    void* handle = Open("libxcb.so.1");
    if (!handle) return false;
    bool ok = true;
    {
        XcbLibrary& table = *this;
        VESMAR_XCB_CORE(VESMAR_XCB_RESOLVE)
    }
    // A libxcb without its core requests cannot be used; it stays loaded anyway (never unload
    // a library another part of the process may have opened too).
    if (!ok) return false;

    // The helpers are optional: each table is either whole or empty.
    if ((handle = Open("libxcb-shm.so.0")) != nullptr) {
        Shm& table = shm;
        VESMAR_XCB_SHM(VESMAR_XCB_RESOLVE)
        table.id = static_cast<xcb_extension_t*>(dlsym(handle, "xcb_shm_id"));
        table.present = ok && table.id != nullptr;
        if (!table.present) {
            VESMAR_XCB_SHM(VESMAR_XCB_CLEAR)
            table.id = nullptr;
        }
        ok = true;
    }
    if ((handle = Open("libxcb-xtest.so.0")) != nullptr) {
        Test& table = test;
        VESMAR_XCB_TEST(VESMAR_XCB_RESOLVE)
        table.id = static_cast<xcb_extension_t*>(dlsym(handle, "xcb_test_id"));
        table.present = ok && table.id != nullptr;
        if (!table.present) {
            VESMAR_XCB_TEST(VESMAR_XCB_CLEAR)
            table.id = nullptr;
        }
    }
    return true;
}

const XcbLibrary* XcbLibrary::Get() {
    // A function-local static: loaded once, thread-safe, never unloaded.
    static const XcbLibrary* const library = [] {
        static XcbLibrary table;
        return table.Load() ? &table : nullptr;
    }();
    return library;
}
