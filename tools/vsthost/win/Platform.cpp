#include "tools/vsthost/Platform.h"

#include <io.h>
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "tools/vsthost/win/WideText.h"

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

bool FindModules(const std::string& folder, std::vector<std::string>& modules, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code failure;
    fs::recursive_directory_iterator it(fs::path(WidenUtf8(folder)),
                                        fs::directory_options::skip_permission_denied, failure),
        end;
    if (failure) {
        error = "cannot read folder '" + folder + "': " + failure.message();
        return false;
    }
    for (; it != end; it.increment(failure)) {
        if (failure) break;
        std::error_code ignored;
        std::wstring extension = it->path().extension().wstring();
        for (wchar_t& c : extension) c = static_cast<wchar_t>(towlower(c));
        if (extension == L".dll" && it->is_regular_file(ignored))
            modules.push_back(NarrowToUtf8(it->path().wstring().c_str()));
    }
    std::sort(modules.begin(), modules.end());
    return true;
}

bool IsDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesW(WidenUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
