// The host's own side of the X server for `vsthost editor`: a connection of its own (never the
// plug-in's), a framed top-level window the editor is embedded in, input sent through the server
// with XTest as a user's mouse and keyboard would send it, and the editor window's pixels read
// back from the server.
//
// [UI thread]: every call, from the thread that opened the editor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/x11/XcbLibrary.h"
#include "tools/vsthost/formats/PngWriter.h"

class X11HostWindow {
  public:
    X11HostWindow() = default;
    ~X11HostWindow();
    X11HostWindow(const X11HostWindow&) = delete;
    X11HostWindow& operator=(const X11HostWindow&) = delete;

    // Connects to DISPLAY and maps a top-level window of width x height titled title. False with
    // error when libxcb or the display is missing.
    bool Open(int width, int height, const std::string& title, std::string& error);
    // Destroys the window and closes the connection; safe to call twice.
    void Close();

    uint32_t Window() const { return window; }
    xcb_connection_t* Connection() const { return connection; }
    bool HasXTest() const { return xtest; }

    // Waits until the server has handled every request sent so far (a round trip), and throws
    // away the events our own window received meanwhile. False when the connection broke.
    bool Sync();
    // The newest child of our window (the one the plug-in created), 0 while there is none.
    uint32_t NewestChild();
    // Where point (x, y) of window w lies on the screen; false when w is gone.
    bool ToScreen(uint32_t w, int x, int y, int& screenX, int& screenY);

    // XTest: the pointer moves to screen point (x, y); a button or key goes down or up.
    void FakeMotion(int x, int y);
    void FakeButton(uint8_t button, bool down);
    void FakeKey(uint8_t keycode, bool down);

    // The pixels window w shows in its width x height rectangle (24-bit TrueColor, 32 bits a
    // pixel); false with error for any other format or a window that is gone.
    bool Capture(uint32_t w, int width, int height, Screenshot& shot, std::string& error);

  private:
    const XcbLibrary* xcb = nullptr;
    xcb_connection_t* connection = nullptr;
    xcb_screen_t* screen = nullptr;
    uint32_t window = 0;
    bool xtest = false;
};
