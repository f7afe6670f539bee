#include "tools/vsthost/SharedLibrary.h"

#include <dlfcn.h>

SharedLibrary::~SharedLibrary() {
    Close();
}

bool SharedLibrary::Open(const std::string& path, std::string& error) {
    Close();
    // A path without a slash would make dlopen search the library path instead of the file named.
    std::string name = path.find('/') == std::string::npos ? "./" + path : path;
    handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        error = reason ? reason : "dlopen failed";
        return false;
    }
    return true;
}

void* SharedLibrary::Symbol(const char* name) const {
    if (!handle) return nullptr;
    return dlsym(handle, name);
}

void SharedLibrary::Close() {
    if (handle) dlclose(handle);
    handle = nullptr;
}
