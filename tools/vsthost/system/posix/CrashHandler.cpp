// Fatal signals on Linux: report the plug-in call in progress and exit with a distinct code.
#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "tools/vsthost/cli/ExitCodes.h"
#include "tools/vsthost/system/CrashGuard.h"
#include "tools/vsthost/host/PluginCall.h"

namespace {

const struct {
    int number;
    const char* name;
} kSignals[] = {
    {SIGSEGV, "SIGSEGV, invalid memory access"},
    {SIGBUS, "SIGBUS, bus error"},
    {SIGFPE, "SIGFPE, arithmetic fault"},
    {SIGILL, "SIGILL, illegal instruction"},
    {SIGABRT, "SIGABRT, abort"},
};

// A stack overflow in a plug-in leaves no stack for the handler: it runs on its own.
alignas(16) char alternateStack[1 << 16];

void OnFatalSignal(int number) {
    const char* what = "fatal signal";
    for (const auto& s : kSignals)
        if (s.number == number) what = s.name;
    char text[1024];
    DescribeCrash(what, text, sizeof text);
    ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
    if (PluginCall::Current()) _exit(kExitPluginCrashed);
    // Our own fault: die of the signal, so that it shows as the crash it is.
    signal(number, SIG_DFL);
    raise(number);
}

}  // namespace

void InstallCrashGuard() {
    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);
    struct sigaction action {};
    action.sa_handler = OnFatalSignal;
    action.sa_flags = SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (const auto& s : kSignals) sigaction(s.number, &action, nullptr);
}
