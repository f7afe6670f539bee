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
