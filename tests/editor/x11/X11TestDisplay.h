// The host's side of the X11 editor tests: a connection of its own, top-level parent windows,
// input through XTest and pixels read back from the server.
#pragma once

#include <cstdint>
#include <vector>

#include "base/x11/XcbLibrary.h"

class X11TestDisplay {
  public:
    // Connects to DISPLAY; Ok() is false when there is no display or no XTest.
    X11TestDisplay();
    ~X11TestDisplay();
    bool Ok() const { return connection != nullptr && x->test.present; }

    // A mapped top-level window at (left, top) of the root, as a host's plug-in window.
    uint32_t CreateParent(int left, int top, int width, int height);
    void Destroy(uint32_t window);
    void Move(uint32_t window, int left, int top);
    std::vector<uint32_t> Children(uint32_t window);
    // The window's place in its parent and size; false when it does not exist.
    bool Geometry(uint32_t window, int& left, int& top, int& width, int& height);
    // The pixel at (px, py) of the window, 0xRRGGBB; 0xFFFFFFFF when it cannot be read.
    uint32_t Pixel(uint32_t window, int px, int py);

    // Input as a user gives it, at root coordinates.
    void MoveTo(int rootX, int rootY);
    void Button(uint8_t button, bool press);
    void Click(uint8_t button, int rootX, int rootY);
    // keysym pressed and released (with Shift for upper-case letters).
    void Key(uint32_t keysym);
    // The window with the keyboard focus; Focus(w) gives it to w.
    uint32_t Focused();
    void Focus(uint32_t window);
    // Every request handled by the server.
    void Sync();

    const XcbLibrary* x = nullptr;
    xcb_connection_t* connection = nullptr;
    xcb_screen_t* screen = nullptr;

  private:
    uint8_t KeycodeOf(uint32_t keysym);
    void Fake(uint8_t type, uint8_t detail, int rootX = 0, int rootY = 0);
};
