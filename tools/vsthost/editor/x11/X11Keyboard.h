// The server's keyboard as vsthost presses it: which keycode (and whether Shift goes with it)
// produces a Windows virtual-key code or a typed character, read once from the core keyboard
// mapping of the connection.
//
// [UI thread]: every call.
#pragma once

#include <cstdint>
#include <vector>

#include "base/x11/XcbLibrary.h"

class X11Keyboard {
  public:
    struct Key {
        uint8_t keycode = 0;  // 0: the keyboard has no such key
        bool shift = false;   // the symbol is the key's shifted one
    };

    // Reads the mapping; false when the server does not answer.
    bool Load(const XcbLibrary& xcb, xcb_connection_t* connection);

    // The key for a Windows virtual-key code (the script's key names), or for a character typed.
    Key ForVirtualKey(int vk) const;
    Key ForCharacter(char c) const;
    // The left Shift, Control and Alt keys.
    Key Shift() const { return Find(kShiftL); }
    Key Control() const { return Find(kControlL); }
    Key Alt() const { return Find(kAltL); }

  private:
    static constexpr uint32_t kShiftL = 0xFFE1, kControlL = 0xFFE3, kAltL = 0xFFE9;
    Key Find(uint32_t keysym) const;

    uint8_t firstKeycode = 0;
    int perKeycode = 0;
    std::vector<uint32_t> keysyms;
};
