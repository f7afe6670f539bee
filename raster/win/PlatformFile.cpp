#include "raster/PlatformFile.h"

#include <windows.h>

// File names are UTF-8 inside the plug-in; Windows wants UTF-16 to reach every name. A path
// that does not convert is tried as a name in the current code page.
std::FILE* OpenFileForReading(const char* utf8Path) {
    wchar_t wide[2048];
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Path, -1, wide, 2048) > 0) {
        if (std::FILE* file = _wfopen(wide, L"rb")) return file;
    }
    return std::fopen(utf8Path, "rb");
}
