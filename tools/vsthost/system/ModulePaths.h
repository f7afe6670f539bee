// How the platform names paths and module files, for the module search that is the same on
// every platform. [any thread]
#pragma once

#include <filesystem>
#include <string>

// A UTF-8 path as the file system's own.
std::filesystem::path NativePath(const std::string& utf8);
// The file system's path as UTF-8.
std::string Utf8Path(const std::filesystem::path& path);
// Whether the file's name marks a module here: .so on Linux, .dll in any case on Windows.
bool HasModuleExtension(const std::filesystem::path& path);
