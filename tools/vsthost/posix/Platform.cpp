#include "tools/vsthost/Platform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

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

bool DisplayAvailable(std::string& reason) {
    const char* display = std::getenv("DISPLAY");
    if (display && *display) return true;
    reason = "no X display (DISPLAY is not set)";
    return false;
}

bool FindModules(const std::string& folder, std::vector<std::string>& modules, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code failure;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, failure), end;
    if (failure) {
        error = "cannot read folder '" + folder + "': " + failure.message();
        return false;
    }
    for (; it != end; it.increment(failure)) {
        if (failure) break;
        std::error_code ignored;
        if (it->path().extension() == ".so" && it->is_regular_file(ignored))
            modules.push_back(it->path().string());
    }
    std::sort(modules.begin(), modules.end());
    return true;
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
