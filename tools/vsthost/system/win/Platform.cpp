#include "tools/vsthost/system/Platform.h"
#include "tools/vsthost/system/ModulePaths.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

#include <filesystem>

#include "tools/vsthost/host/win/WideText.h"

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    // The narrow arguments are in the ANSI code page; the wide command line carries every name.
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide) {
        for (int i = 1; i < count; ++i) args.push_back(NarrowToUtf8(wide[i]));
        LocalFree(wide);
        return args;
    }
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return args;
}

FILE* OpenFile(const std::string& path, const char* mode) {
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(WidenUtf8(path).c_str(), wideMode.c_str());
}

bool PathExists(const std::string& path) {
    return GetFileAttributesW(WidenUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool StderrIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

bool DisplayAvailable(std::string&) {
    return true;  // every Windows session has a desktop to open windows on
}

std::filesystem::path NativePath(const std::string& utf8) {
    return std::filesystem::path(WidenUtf8(utf8));
}

std::string Utf8Path(const std::filesystem::path& path) {
    return NarrowToUtf8(path.wstring().c_str());
}

bool HasModuleExtension(const std::filesystem::path& path) {
    std::wstring extension = path.extension().wstring();
    for (wchar_t& c : extension) c = static_cast<wchar_t>(towlower(c));
    return extension == L".dll";
}

bool IsDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesW(WidenUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// Volume and file index: the identity of a file however it is named.
bool FileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE file =
        CreateFileW(WidenUtf8(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return ok;
}

}  // namespace

bool CheckOutputPath(const std::string& path, const std::string& input, std::string& error) {
    DWORD attributes = GetFileAttributesW(WidenUtf8(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        BY_HANDLE_FILE_INFORMATION a{}, b{};
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            error = "the output '" + path + "' is a folder";
            return false;
        }
        if (!input.empty() && FileIdentity(path, a) && FileIdentity(input, b) &&
            a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
            a.nFileIndexLow == b.nFileIndexLow) {
            error = "the output '" + path + "' is the input file";
            return false;
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            error = "the output '" + path + "' is not writable";
            return false;
        }
    }
    size_t slash = path.find_last_of("/\\");
    // C:\x.wav lies in C:\ (a drive root keeps its separator), a\x.wav in a.
    std::string folder = slash == std::string::npos                            ? "."
                         : slash == 0 || (slash > 0 && path[slash - 1] == ':') ? path.substr(0, slash + 1)
                                                                               : path.substr(0, slash);
    if (!IsDirectory(folder)) {
        error = "the output folder '" + folder + "' does not exist";
        return false;
    }
    return true;
}

bool WriteStandardOutput(const std::vector<uint8_t>& bytes, std::string& error) {
    _setmode(_fileno(stdout), _O_BINARY);
    if ((!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) ||
        std::fflush(stdout) != 0) {
        error = "cannot write to standard output";
        return false;
    }
    return true;
}
