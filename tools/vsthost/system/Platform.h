// The few operating-system services the command-line host needs beyond the module loader. Paths
// and arguments are UTF-8 on every platform.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The program's arguments as UTF-8, without the program name.
std::vector<std::string> CommandLineArguments(int argc, char** argv);
FILE* OpenFile(const std::string& path, const char* mode);
bool PathExists(const std::string& path);
bool StderrIsTerminal();
// Whether a plug-in editor could open a window here; false with the reason when not (a Linux
// session without an X display). Plug-ins may crash asking for their editor without one.
bool DisplayAvailable(std::string& reason);
// The modules under folder and its subfolders (.so on Linux, .dll on Windows), sorted; false with
// the reason when the folder cannot be read.
bool FindModules(const std::string& folder, std::vector<std::string>& modules, std::string& error);
bool IsDirectory(const std::string& path);
// Whether path can take an output file, checked before any work is done: its folder exists and
// is writable, it is no folder itself, and it is not input (by identity: links and other
// spellings of the same file count). False with the reason.
bool CheckOutputPath(const std::string& path, const std::string& input, std::string& error);
// Writes bytes to standard output unchanged (binary mode on Windows).
bool WriteStandardOutput(const std::vector<uint8_t>& bytes, std::string& error);
