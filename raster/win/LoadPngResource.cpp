#include "raster/PngDecoder.h"

#include <windows.h>

RasterBitmap* LoadPngResource(void* module, int resourceId, RasterBitmap* dest) {
    if (resourceId < 1 || resourceId > 0xFFFF) return nullptr;
    HMODULE handle = static_cast<HMODULE>(module);
    HRSRC resource = FindResourceA(handle, MAKEINTRESOURCEA(resourceId), "PNG");
    if (!resource) return nullptr;
    DWORD size = SizeofResource(handle, resource);
    if (size < 8) return nullptr;
    HGLOBAL loaded = LoadResource(handle, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return nullptr;
    return DecodePng(data, size, dest);
}
