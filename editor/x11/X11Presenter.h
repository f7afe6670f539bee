#pragma once

#include <cstdint>
#include <vector>

#include "editor/IPixelRect.h"

class DibBitmap;
class X11Connection;

// Copies rectangles of the back buffer to an editor window: through a shared-memory segment the
// size of the editor when the server offers MIT-SHM on a local connection, with plain PutImage
// requests otherwise and for good after any SHM failure. The back buffer's 0xAARRGGBB words are
// the server's 24-bit ZPixmap format on a little-endian screen, so rows are copied as they are.
//
// The server reads the segment after the request returns; a later present may overwrite pixels
// it has not read yet, which can only show newer back-buffer pixels in that area, never garbage.
//
// Threads: the connection's thread only.
class X11Presenter {
  public:
    // depth: the window's (24 or 32 bits of 32-bit pixels).
    X11Presenter(X11Connection& connection, uint32_t window, uint8_t depth);
    ~X11Presenter();
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // Sends rect (clipped to the buffer) to the window; the caller flushes.
    void Present(DibBitmap& buffer, const IPixelRect& rect);
    // An X error came back on the connection: when it was about a shared-memory request, shared
    // memory is given up for plain PutImage and true is answered (the caller presents again).
    bool SharedMemoryFailed(uint8_t majorOpcode);
    // Whether the shared segment is in use (for tests and benchmarks).
    bool UsingShm() const { return shmSegment != 0; }

  private:
    bool AttachShm(int width, int height);
    void DetachShm();
    void PutImage(DibBitmap& buffer, int left, int top, int width, int height);

    X11Connection& connection;
    const uint32_t window;
    uint32_t gc;
    uint8_t depth;
    bool shmFailed;
    uint32_t shmSegment = 0;
    uint32_t* shmPixels = nullptr;
    int shmWidth = 0;
    int shmHeight = 0;
    std::vector<uint32_t> rows;  // plain PutImage's packed rows
};
