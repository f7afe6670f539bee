// A loaded shared library (a .so through dlopen, a .dll through LoadLibraryW). The platform
// folder supplies the implementation; paths are UTF-8.
#pragma once

#include <string>

class SharedLibrary {
  public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Loads the library; on failure returns false and puts the system's reason into error.
    bool Open(const std::string& path, std::string& error);
    // Address of an exported symbol, or null.
    void* Symbol(const char* name) const;
    void Close();
    bool IsOpen() const { return handle != nullptr; }
    // The system's handle (dlopen's, or the HMODULE), for entry points that ask for it.
    void* NativeHandle() const { return handle; }

  private:
    void* handle = nullptr;
};
