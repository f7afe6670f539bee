#include "editor/x11/X11Keyboard.h"

#include <cstdlib>

#include "editor/x11/X11Connection.h"
#include "editor/x11/X11Keys.h"

namespace {
constexpr uint16_t kNumLockMask = 0x10;  // Mod2
}

X11Keyboard::X11Keyboard(X11Connection& connection) : connection(connection) {
    Refresh();
}

X11Keyboard::~X11Keyboard() {
    Release();
}

void X11Keyboard::Release() {
    if (symbols) connection.x.keysyms.key_symbols_free(symbols);
    symbols = nullptr;
    map.clear();
    perKey = 0;
}

void X11Keyboard::Refresh() {
    Release();
    const XcbLibrary& x = connection.x;
    if (x.keysyms.present) {
        symbols = x.keysyms.key_symbols_alloc(connection.connection);
        if (symbols) return;
    }
    const xcb_setup_t* setup = x.get_setup(connection.connection);
    const int first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    if (count <= 0) return;
    auto* reply = x.get_keyboard_mapping_reply(
        connection.connection,
        x.get_keyboard_mapping(connection.connection, setup->min_keycode, static_cast<uint8_t>(count)),
        nullptr);
    if (!reply) return;
    const xcb_keysym_t* syms = x.get_keyboard_mapping_keysyms(reply);
    const int length = x.get_keyboard_mapping_keysyms_length(reply);
    // The server's count per key and its list length are trusted only as far as they agree.
    if (syms && length > 0 && reply->keysyms_per_keycode > 0 &&
        length >= reply->keysyms_per_keycode * count) {
        map.assign(syms, syms + length);
        firstKeycode = first;
        perKey = reply->keysyms_per_keycode;
    }
    std::free(reply);
}

uint32_t X11Keyboard::Column(uint8_t keycode, int column) const {
    if (symbols) return connection.x.keysyms.key_symbols_get_keysym(symbols, keycode, column);
    if (column >= perKey || keycode < firstKeycode) return 0;
    const size_t at = static_cast<size_t>((keycode - firstKeycode) * perKey + column);
    return at < map.size() ? map[at] : 0;
}

uint32_t X11Keyboard::Keysym(uint8_t keycode, uint16_t state) const {
    return X11Keys::Choose(Column(keycode, 0), Column(keycode, 1), state, kNumLockMask);
}
