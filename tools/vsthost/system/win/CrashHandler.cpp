// Unhandled exceptions and abort() on Windows: report the plug-in call in progress and exit with
// a distinct code.
#include <windows.h>

#include <csignal>
#include <cstring>

#include "tools/vsthost/cli/ExitCodes.h"
#include "tools/vsthost/system/CrashGuard.h"
#include "tools/vsthost/host/PluginCall.h"

namespace {

void Report(const char* what) {
    char text[1024];
    DescribeCrash(what, text, sizeof text);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
}

const char* ExceptionName(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION:
            return "access violation";
        case EXCEPTION_STACK_OVERFLOW:
            return "stack overflow";
        case EXCEPTION_ILLEGAL_INSTRUCTION:
            return "illegal instruction";
        case EXCEPTION_INT_DIVIDE_BY_ZERO:
            return "integer division by zero";
        default:
            return "unhandled exception";
    }
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
    Report(ExceptionName(info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0));
    if (PluginCall::Current()) TerminateProcess(GetCurrentProcess(), kExitPluginCrashed);
    return EXCEPTION_CONTINUE_SEARCH;
}

void OnAbort(int) {
    Report("abort");
    if (PluginCall::Current()) TerminateProcess(GetCurrentProcess(), kExitPluginCrashed);
    std::signal(SIGABRT, SIG_DFL);
    std::raise(SIGABRT);
}

}  // namespace

void InstallCrashGuard() {
    SetUnhandledExceptionFilter(OnUnhandledException);
    std::signal(SIGABRT, OnAbort);
}
