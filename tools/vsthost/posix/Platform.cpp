#include "tools/vsthost/Platform.h"

#include <sys/stat.h>
#include <unistd.h>

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return args;
}

FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool PathExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

bool StderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}
