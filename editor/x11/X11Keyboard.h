#pragma once

#include <cstdint>
#include <vector>

class X11Connection;
struct _XCBKeySymbols;

// The server's keyboard map on an editor's connection: the keysym of a key press. Uses
// libxcb-keysyms when it is installed, else reads the map with the core GetKeyboardMapping
// request. NumLock is taken to be Mod2, as every common keyboard setup has it.
//
// Threads: the connection's thread only.
class X11Keyboard {
  public:
    explicit X11Keyboard(X11Connection& connection);
    ~X11Keyboard();
    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;

    // The keysym a key press gives with the event's modifier state; 0 when unknown.
    uint32_t Keysym(uint8_t keycode, uint16_t state) const;
    // The server said the map changed: read it again.
    void Refresh();

  private:
    uint32_t Column(uint8_t keycode, int column) const;
    void Release();

    X11Connection& connection;
    _XCBKeySymbols* symbols = nullptr;
    // The core request's map: perKey keysyms for each key from firstKeycode on.
    std::vector<uint32_t> map;
    int firstKeycode = 0;
    int perKey = 0;
};
