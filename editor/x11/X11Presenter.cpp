#include "editor/x11/X11Presenter.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "editor/x11/X11Connection.h"
#include "raster/DibBitmap.h"

namespace {
constexpr size_t kPutImageHeader = 24;  // bytes of a PutImage request before its data
}

X11Presenter::X11Presenter(X11Connection& connection, uint32_t window, uint8_t depth)
    : connection(connection), window(window), depth(depth), shmFailed(!connection.shmUsable) {
    const XcbLibrary& x = connection.x;
    gc = x.generate_id(connection.connection);
    const uint32_t noExposures = 0;
    x.create_gc(connection.connection, gc, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
}

X11Presenter::~X11Presenter() {
    DetachShm();
    connection.x.free_gc(connection.connection, gc);
}

bool X11Presenter::AttachShm(int width, int height) {
    DetachShm();
    const XcbLibrary& x = connection.x;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) return false;
    void* memory = shmat(id, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return false;
    }
    const uint32_t segment = x.generate_id(connection.connection);
    xcb_generic_error_t* error = x.request_check(
        connection.connection,
        x.shm.shm_attach_checked(connection.connection, segment, static_cast<uint32_t>(id), 0));
    // Marked for removal at once: it goes away by itself when both sides let go, even if we crash.
    shmctl(id, IPC_RMID, nullptr);
    if (error) {
        std::free(error);
        shmdt(memory);
        return false;
    }
    shmSegment = segment;
    shmPixels = static_cast<uint32_t*>(memory);
    shmWidth = width;
    shmHeight = height;
    return true;
}

void X11Presenter::DetachShm() {
    if (!shmSegment) return;
    connection.x.shm.shm_detach(connection.connection, shmSegment);
    // The server must have let go of the pages before they are unmapped here.
    connection.Sync();
    shmdt(shmPixels);
    shmSegment = 0;
    shmPixels = nullptr;
}

bool X11Presenter::SharedMemoryFailed(uint8_t majorOpcode) {
    if (!shmSegment) return false;
    const xcb_query_extension_reply_t* extension =
        connection.x.get_extension_data(connection.connection, connection.x.shm.id);
    if (!extension || extension->major_opcode != majorOpcode) return false;
    DetachShm();
    shmFailed = true;
    return true;
}

void X11Presenter::Present(DibBitmap& buffer, const IPixelRect& rect) {
    const uint32_t* bits = buffer.Bits();
    const int bufferWidth = buffer.Width(), bufferHeight = buffer.Height();
    if (!bits || bufferWidth <= 0 || bufferHeight <= 0) return;
    const int left = std::max(0, rect.left), top = std::max(0, rect.top);
    const int right = std::min(bufferWidth, rect.right), bottom = std::min(bufferHeight, rect.bottom);
    if (right <= left || bottom <= top) return;
    const int width = right - left, height = bottom - top;
    const XcbLibrary& x = connection.x;

    if (!shmFailed && (shmWidth != bufferWidth || shmHeight != bufferHeight || !shmSegment)) {
        if (!AttachShm(bufferWidth, bufferHeight)) shmFailed = true;
    }
    if (!shmFailed && shmSegment) {
        const size_t span = static_cast<size_t>(buffer.RowSpan());
        for (int y = top; y < bottom; ++y) {
            std::memcpy(shmPixels + static_cast<size_t>(y) * static_cast<size_t>(shmWidth) +
                            static_cast<size_t>(left),
                        bits + static_cast<size_t>(y) * span + static_cast<size_t>(left),
                        static_cast<size_t>(width) * 4);
        }
        x.shm.shm_put_image(connection.connection, window, gc, static_cast<uint16_t>(shmWidth),
                            static_cast<uint16_t>(shmHeight), static_cast<uint16_t>(left),
                            static_cast<uint16_t>(top), static_cast<uint16_t>(width),
                            static_cast<uint16_t>(height), static_cast<int16_t>(left),
                            static_cast<int16_t>(top), depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, shmSegment, 0);
        return;
    }
    PutImage(buffer, left, top, width, height);
}

void X11Presenter::PutImage(DibBitmap& buffer, int left, int top, int width, int height) {
    const XcbLibrary& x = connection.x;
    const size_t maxBytes = static_cast<size_t>(x.get_maximum_request_length(connection.connection)) * 4;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    if (maxBytes <= kPutImageHeader + rowBytes) return;  // a row that never fits a request
    const int rowsPerRequest =
        static_cast<int>(std::min<size_t>((maxBytes - kPutImageHeader) / rowBytes, 4096));
    const uint32_t* bits = buffer.Bits();
    const size_t span = static_cast<size_t>(buffer.RowSpan());
    for (int y = top; y < top + height; y += rowsPerRequest) {
        const int count = std::min(rowsPerRequest, top + height - y);
        rows.resize(static_cast<size_t>(width) * static_cast<size_t>(count));
        for (int r = 0; r < count; ++r) {
            std::memcpy(rows.data() + static_cast<size_t>(r) * static_cast<size_t>(width),
                        bits + static_cast<size_t>(y + r) * span + static_cast<size_t>(left), rowBytes);
        }
        x.put_image(connection.connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, gc,
                    static_cast<uint16_t>(width), static_cast<uint16_t>(count), static_cast<int16_t>(left),
                    static_cast<int16_t>(y), 0, depth,
                    static_cast<uint32_t>(rowBytes * static_cast<size_t>(count)),
                    reinterpret_cast<const uint8_t*>(rows.data()));
    }
}
