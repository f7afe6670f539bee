#include "tools/vsthost/Platform.h"

#include <io.h>
#include <windows.h>

#include <shellapi.h>

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
