#include "base/x11/X11Keyboard.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr uint16_t kShiftMask = 1, kLockMask = 2, kNumLockMask = 0x10;  // Mod2

// Runs of virtual keys and the keysyms they stand for, in the same order. Read forwards the
// first run holding a virtual key wins; the aliases at the end only ever read backwards.
struct KeyRun {
    uint32_t vk;
    uint32_t keysym;
    uint32_t count;
};
constexpr KeyRun kRuns[] = {
    {0x08, 0xFF08, 2},   // Backspace, Tab
    {0x0D, 0xFF0D, 1},   // Return
    {0x1B, 0xFF1B, 1},   // Escape
    {0x20, 0x0020, 1},   // space
    {0x23, 0xFF57, 1},   // End
    {0x24, 0xFF50, 1},   // Home
    {0x25, 0xFF51, 4},   // Left, Up, Right, Down
    {0x2E, 0xFFFF, 1},   // Delete
    {0x30, '0', 10},     // digits
    {0x41, 'a', 26},     // letters
    {0x60, 0xFFB0, 10},  // keypad digits
    {0x6A, 0xFFAA, 6},   // keypad * + , - . /
    {0x70, 0xFFBE, 24},  // F1-F24
    {0xBD, '-', 1},      // minus
    {0xBE, '.', 1},      // period
    // Aliases.
    {0x41, 'A', 26},    // upper-case letters
    {0x20, 0xFF80, 1},  // keypad space
    {0x25, 0xFF96, 4},  // keypad Left, Up, Right, Down
};

bool IsKeypad(uint32_t keysym) {
    return keysym >= 0xFF80 && keysym <= 0xFFBD;
}

}  // namespace

uint32_t X11Keyboard::KeysymOfVirtualKey(int vk) {
    for (const KeyRun& run : kRuns)
        if (vk >= 0 && static_cast<uint32_t>(vk) - run.vk < run.count)
            return run.keysym + (static_cast<uint32_t>(vk) - run.vk);
    return 0;
}

uint32_t X11Keyboard::VirtualKeyOfKeysym(uint32_t keysym) {
    for (const KeyRun& run : kRuns)
        if (keysym - run.keysym < run.count) return run.vk + (keysym - run.keysym);
    return 0;
}

uint32_t X11Keyboard::Choose(uint32_t first, uint32_t second, uint16_t state, uint16_t numLockMask) {
    if (second == 0) return first;
    if (IsKeypad(second) && numLockMask != 0 && (state & numLockMask) != 0) return second;
    if (!IsKeypad(second) && (state & (kShiftMask | kLockMask)) != 0) return second;
    return first;
}

bool X11Keyboard::Load(const XcbLibrary& xcb, xcb_connection_t* connection) {
    keysyms.clear();
    perKeycode = 0;
    const xcb_setup_t* setup = xcb.get_setup(connection);
    const uint8_t first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    if (count <= 0) return false;
    xcb_get_keyboard_mapping_reply_t* reply = xcb.get_keyboard_mapping_reply(
        connection, xcb.get_keyboard_mapping(connection, first, static_cast<uint8_t>(count)), nullptr);
    if (!reply) return false;
    const int length = xcb.get_keyboard_mapping_keysyms_length(reply);
    const xcb_keysym_t* syms = xcb.get_keyboard_mapping_keysyms(reply);
    const int per = reply->keysyms_per_keycode;
    // Only whole rows of the keycodes asked for: the reply's length is the server's word.
    const int rows = per > 0 && syms && length > 0 ? std::min(length / per, count) : 0;
    if (rows > 0) {
        keysyms.assign(syms, syms + rows * per);
        firstKeycode = first;
        perKeycode = per;
    }
    std::free(reply);
    return rows > 0;
}

uint32_t X11Keyboard::Column(uint8_t keycode, int column) const {
    if (column >= perKeycode || keycode < firstKeycode) return 0;
    const size_t at = static_cast<size_t>((keycode - firstKeycode) * perKeycode + column);
    return at < keysyms.size() ? keysyms[at] : 0;
}

uint32_t X11Keyboard::Keysym(uint8_t keycode, uint16_t state) const {
    return Choose(Column(keycode, 0), Column(keycode, 1), state, kNumLockMask);
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
    for (int column = 0; column < 2 && column < perKeycode; ++column) {
        for (size_t row = 0; row * static_cast<size_t>(perKeycode) < keysyms.size(); ++row) {
            if (keysyms[row * static_cast<size_t>(perKeycode) + static_cast<size_t>(column)] != keysym)
                continue;
            const size_t keycode = static_cast<size_t>(firstKeycode) + row;
            if (keycode > 255) break;
            return Key{static_cast<uint8_t>(keycode), column == 1};
        }
    }
    return Key{};
}
