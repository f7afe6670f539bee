// The few operating-system services the command-line host needs beyond the module loader. Paths
// and arguments are UTF-8 on every platform.
#pragma once

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
