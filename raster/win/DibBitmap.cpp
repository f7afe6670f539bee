#include "raster/DibBitmap.h"

#include <windows.h>

DibBitmap::DibBitmap(int width, int height) {
    deviceContext_ = CreateCompatibleDC(nullptr);
    Resize(width, height);
}

DibBitmap::~DibBitmap() {
    ReleasePixels();
    if (deviceContext_) DeleteDC(static_cast<HDC>(deviceContext_));
}

void DibBitmap::ReleasePixels() {
    if (previousBitmap_ && deviceContext_)
        SelectObject(static_cast<HDC>(deviceContext_), static_cast<HGDIOBJ>(previousBitmap_));
    previousBitmap_ = nullptr;
    if (section_) DeleteObject(static_cast<HGDIOBJ>(section_));
    section_ = nullptr;
    bits_ = nullptr;
}

bool DibBitmap::CanAllocate() const {
    return deviceContext_ != nullptr;
}

bool DibBitmap::AllocatePixels() {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = allocWidth_;
    info.bmiHeader.biHeight = IsFlipped() ? allocHeight_ : -allocHeight_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP section =
        CreateDIBSection(static_cast<HDC>(deviceContext_), &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!section || !pixels) {
        if (section) DeleteObject(section);
        return false;
    }
    section_ = section;
    bits_ = static_cast<uint32_t*>(pixels);
    previousBitmap_ = SelectObject(static_cast<HDC>(deviceContext_), section);
    return true;
}
