#include "tools/vsthost/system/Platform.h"
#include "tools/vsthost/system/ModulePaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

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

std::filesystem::path NativePath(const std::string& utf8) {
    return std::filesystem::path(utf8);
}

std::string Utf8Path(const std::filesystem::path& path) {
    return path.string();
}

bool HasModuleExtension(const std::filesystem::path& path) {
    return path.extension() == ".so";
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CheckOutputPath(const std::string& path, const std::string& input, std::string& error) {
    struct stat target;
    if (::stat(path.c_str(), &target) == 0) {
        struct stat source;
        if (S_ISDIR(target.st_mode)) {
            error = "the output '" + path + "' is a folder";
            return false;
        }
        if (!input.empty() && ::stat(input.c_str(), &source) == 0 && source.st_dev == target.st_dev &&
            source.st_ino == target.st_ino) {
            error = "the output '" + path + "' is the input file";
            return false;
        }
        if (access(path.c_str(), W_OK) != 0) {
            error = "the output '" + path + "' is not writable";
            return false;
        }
    }
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    if (!IsDirectory(folder)) {
        error = "the output folder '" + folder + "' does not exist";
        return false;
    }
    if (access(folder.c_str(), W_OK) != 0) {
        error = "the output folder '" + folder + "' is not writable";
        return false;
    }
    return true;
}

bool WriteStandardOutput(const std::vector<uint8_t>& bytes, std::string& error) {
    if ((!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) ||
        std::fflush(stdout) != 0) {
        error = "cannot write to standard output";
        return false;
    }
    return true;
}
