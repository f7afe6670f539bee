#include "raster/ImageLoader.h"

#include <cstring>

#include "raster/PngDecoder.h"

namespace {

ImageLoader* listHead = nullptr;  // constant-initialised: safe during static initialisation

bool SameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char ca = *a >= 'A' && *a <= 'Z' ? static_cast<char>(*a - 'A' + 'a') : *a;
        char cb = *b >= 'A' && *b <= 'Z' ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (ca != cb) return false;
    }
    return *a == *b;
}

RasterBitmap* LoadPngImage(const char* path, bool checkExtension, RasterBitmap* dest) {
    if (!path) return nullptr;
    if (checkExtension && !SameIgnoringCase(FileNameExtension(path), ".png")) return nullptr;
    return LoadPngFile(path, dest);
}

const char* PngDescription() {
    return "PNG files (*.PNG)";
}

ImageLoader pngLoader{LoadPngImage, PngDescription, nullptr};

struct RegisterPngLoader {
    RegisterPngLoader() {
        pngLoader.next = listHead;
        listHead = &pngLoader;
    }
} registerPngLoader;

}  // namespace

ImageLoader* ImageLoaderList() {
    return listHead;
}

const char* FileNameExtension(const char* name) {
    for (const char* p = name + std::strlen(name); p != name;) {
        --p;
        if (*p == '.' || *p == '/' || *p == '\\') return p;
    }
    return name;
}
