#include "tools/vsthost/host/SharedLibrary.h"

#include <dlfcn.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define VSTHOST_LEAK_CHECKER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VSTHOST_LEAK_CHECKER 1
#endif
#endif

// Under the leak checker a closed module stays mapped: its leaks are then reported with their
// names, and the process-lifetime state of the libraries it uses (fontconfig's, for one) is not
// mistaken for a leak once their code is gone.
#ifdef VSTHOST_LEAK_CHECKER
constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE;
#else
constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL;
#endif

}  // namespace

SharedLibrary::~SharedLibrary() {
    Close();
}

bool SharedLibrary::Open(const std::string& path, std::string& error) {
    Close();
    // A path without a slash would make dlopen search the library path instead of the file named.
    std::string name = path.find('/') == std::string::npos ? "./" + path : path;
    handle = dlopen(name.c_str(), kOpenFlags);
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
