#pragma once

#include <cstdint>
#include <vector>

#include "base/x11/XcbLibrary.h"

// The X server's keyboard map as read from a connection with the core GetKeyboardMapping request,
// and the one table between X keysyms and Windows virtual-key codes (the codes the editors' key
// tables and vsthost's scripts speak). Both directions: the plug-in's editor turns a key press
// into its keysym and that into a virtual key; vsthost finds the key (and whether Shift goes with
// it) that types a virtual key or a character, to press it through XTest. NumLock is taken to be
// Mod2, as every common keyboard setup has it.
//
// Threads: the connection's thread for Load; the rest reads the loaded map and the constant
// table, one thread at a time.
class X11Keyboard {
  public:
    struct Key {
        uint8_t keycode = 0;  // 0: the keyboard has no such key
        bool shift = false;   // the symbol is the key's shifted one
    };

    // Reads the map (again, when the server says it changed); false, with an empty map, when the
    // server does not answer or its reply does not add up.
    bool Load(const XcbLibrary& xcb, xcb_connection_t* connection);

    // The keysym a key press gives with the event's modifier state; 0 when unknown.
    uint32_t Keysym(uint8_t keycode, uint16_t state) const;
    // The key for a Windows virtual-key code, or for a printable ASCII character.
    Key ForVirtualKey(int vk) const;
    Key ForCharacter(char c) const;
    // The left Shift, Control and Alt keys.
    Key Shift() const { return Find(kShiftL); }
    Key Control() const { return Find(kControlL); }
    Key Alt() const { return Find(kAltL); }

    // ---- The table (pure, any thread) ---------------------------------------------------------
    // The keysym of a virtual key, 0 for keys the table lacks.
    static uint32_t KeysymOfVirtualKey(int vk);
    // The virtual key of a keysym, 0 for keys the table lacks. The keypad's space and arrows
    // count as the main ones, and upper-case letters as their keys.
    static uint32_t VirtualKeyOfKeysym(uint32_t keysym);
    // Of the keysyms at a key's first two columns, the one the key gives with the modifier state
    // (X's Shift, Lock and the NumLock modifier mask): the second column with NumLock for keypad
    // keys, with Shift or Lock for others.
    static uint32_t Choose(uint32_t first, uint32_t second, uint16_t state, uint16_t numLockMask);

  private:
    static constexpr uint32_t kShiftL = 0xFFE1, kControlL = 0xFFE3, kAltL = 0xFFE9;
    uint32_t Column(uint8_t keycode, int column) const;
    // The unshifted column of every key first, then the shifted one.
    Key Find(uint32_t keysym) const;

    int firstKeycode = 0;
    int perKeycode = 0;
    std::vector<uint32_t> keysyms;
};
