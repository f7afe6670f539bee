#include "tools/vsthost/host/SharedLibrary.h"

#include <windows.h>

#include "tools/vsthost/host/win/WideText.h"

SharedLibrary::~SharedLibrary() {
    Close();
}

bool SharedLibrary::Open(const std::string& path, std::string& error) {
    Close();
    // No error dialog boxes for a missing or broken DLL: a command-line tool reports instead.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryW(WidenUtf8(path).c_str());
    DWORD code = module ? 0 : GetLastError();
    SetErrorMode(oldMode);
    if (!module) {
        error = SystemErrorText(code);
        return false;
    }
    handle = reinterpret_cast<void*>(module);
    return true;
}

void* SharedLibrary::Symbol(const char* name) const {
    if (!handle) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void SharedLibrary::Close() {
    if (handle) FreeLibrary(static_cast<HMODULE>(handle));
    handle = nullptr;
}
