#include "tools/vsthost/editor/x11/X11Keyboard.h"

#include <algorithm>
#include <cstdlib>

namespace {

// X keysyms of the keys the script names by Windows virtual-key code.
struct VirtualKeySym {
    int vk;
    uint32_t keysym;
};
constexpr VirtualKeySym kNamed[] = {
    {0x08, 0xFF08},  // Backspace
    {0x09, 0xFF09},  // Tab
    {0x0D, 0xFF0D},  // Return
    {0x1B, 0xFF1B},  // Escape
    {0x20, 0x0020},  // space
    {0x23, 0xFF57},  // End
    {0x24, 0xFF50},  // Home
    {0x25, 0xFF51},  // Left
    {0x26, 0xFF52},  // Up
    {0x27, 0xFF53},  // Right
    {0x28, 0xFF54},  // Down
    {0x2E, 0xFFFF},  // Delete
    {0x6A, 0xFFAA},  // keypad *
    {0x6B, 0xFFAB},  // keypad +
    {0x6D, 0xFFAD},  // keypad -
    {0x6E, 0xFFAE},  // keypad .
    {0x6F, 0xFFAF},  // keypad /
    {0xBD, 0x002D},  // minus
    {0xBE, 0x002E},  // period
};

uint32_t KeysymOfVirtualKey(int vk) {
    if (vk >= '0' && vk <= '9') return static_cast<uint32_t>(vk);
    if (vk >= 'A' && vk <= 'Z') return static_cast<uint32_t>(vk - 'A' + 'a');
    if (vk >= 0x60 && vk <= 0x69) return 0xFFB0u + static_cast<uint32_t>(vk - 0x60);  // keypad digits
    if (vk >= 0x70 && vk <= 0x87) return 0xFFBEu + static_cast<uint32_t>(vk - 0x70);  // F1-F24
    for (const VirtualKeySym& k : kNamed)
        if (k.vk == vk) return k.keysym;
    return 0;
}

}  // namespace

bool X11Keyboard::Load(const XcbLibrary& xcb, xcb_connection_t* connection) {
    const xcb_setup_t* setup = xcb.get_setup(connection);
    const uint8_t first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    if (count <= 0) return false;
    xcb_get_keyboard_mapping_reply_t* reply = xcb.get_keyboard_mapping_reply(
        connection, xcb.get_keyboard_mapping(connection, first, static_cast<uint8_t>(count)), nullptr);
    if (!reply) return false;
    const int length = xcb.get_keyboard_mapping_keysyms_length(reply);
    const xcb_keysym_t* syms = xcb.get_keyboard_mapping_keysyms(reply);
    firstKeycode = first;
    perKeycode = reply->keysyms_per_keycode;
    // Only whole rows of the keycodes asked for: the reply's length is the server's word.
    const int rows = perKeycode > 0 ? std::min(length / perKeycode, count) : 0;
    keysyms.assign(syms, syms + rows * perKeycode);
    std::free(reply);
    return rows > 0;
}

X11Keyboard::Key X11Keyboard::ForVirtualKey(int vk) const {
    const uint32_t keysym = KeysymOfVirtualKey(vk);
    return keysym ? Find(keysym) : Key{};
}

X11Keyboard::Key X11Keyboard::ForCharacter(char c) const {
    const auto u = static_cast<unsigned char>(c);
    // Printable ASCII characters are their own keysyms.
    return u >= 0x20 && u < 0x7F ? Find(u) : Key{};
}

X11Keyboard::Key X11Keyboard::Find(uint32_t keysym) const {
    // The unshifted column of every key first, then the shifted one.
    for (int column = 0; column < 2 && column < perKeycode; ++column) {
        for (size_t row = 0; row * static_cast<size_t>(perKeycode) < keysyms.size(); ++row) {
            if (keysyms[row * static_cast<size_t>(perKeycode) + static_cast<size_t>(column)] != keysym)
                continue;
            const size_t keycode = firstKeycode + row;
            if (keycode > 255) break;
            return Key{static_cast<uint8_t>(keycode), column == 1};
        }
    }
    return Key{};
}
