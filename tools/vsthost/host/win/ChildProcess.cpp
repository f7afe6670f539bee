#include "tools/vsthost/host/ChildProcess.h"

#include <windows.h>

#include <algorithm>

#include "tools/vsthost/host/win/WideText.h"

namespace {

// Quotes one argument the way CommandLineToArgvW splits it again.
std::wstring Quote(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

}  // namespace

std::string SelfExecutablePath() {
    wchar_t path[32768];
    DWORD n = GetModuleFileNameW(nullptr, path, 32768);
    if (n == 0 || n >= 32768) return {};
    return NarrowToUtf8(path);
}

namespace {

// Starts program with args, its output and errors into a new pipe whose reading end is readEnd;
// false with result.error when it cannot be started.
bool StartChild(const std::string& program, const std::vector<std::string>& args, HANDLE& readEnd,
                PROCESS_INFORMATION& process, ChildResult& result) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        result.error = "cannot create a pipe: " + SystemErrorText(GetLastError());
        return false;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::wstring commandLine = Quote(WidenUtf8(program));
    for (const std::string& arg : args) commandLine += L" " + Quote(WidenUtf8(arg));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    BOOL created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process);
    CloseHandle(writeEnd);
    if (!created) {
        result.error = "cannot start a child process: " + SystemErrorText(GetLastError());
        CloseHandle(readEnd);
        return false;
    }
    return true;
}

// Reads what the pipe holds now into output (up to kMaxChildOutput), never waiting for more.
void Drain(HANDLE readEnd, std::string& output) {
    char buffer[4096];
    DWORD available = 0;
    while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        DWORD n = 0;
        if (!ReadFile(readEnd, buffer, std::min<DWORD>(available, sizeof buffer), &n, nullptr) || n == 0)
            return;
        size_t room = kMaxChildOutput - std::min(output.size(), kMaxChildOutput);
        output.append(buffer, std::min(static_cast<size_t>(n), room));
    }
}

}  // namespace

ChildResult RunChildProcess(const std::string& program, const std::vector<std::string>& args,
                            double timeoutSeconds) {
    ChildResult result;
    HANDLE readEnd = nullptr;
    PROCESS_INFORMATION process{};
    if (!StartChild(program, args, readEnd, process, result)) return result;
    result.started = true;
    // Only what the pipe holds is read, never waited for: a process the child started may keep
    // the pipe's write end open after the child is gone (Wine starts its desktop process from
    // the first program that needs it, with the handles it inherited), so the end of the output
    // is the end of the child, not of the pipe.
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutSeconds * 1000);
    for (;;) {
        Drain(readEnd, result.output);
        if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0) break;
        if (GetTickCount64() >= deadline) {
            result.timedOut = true;
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
            break;
        }
    }
    Drain(readEnd, result.output);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.exitCode = static_cast<int>(code);
    CloseHandle(readEnd);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}
