// A last word when a plug-in kills the process: fatal signals (Linux) and unhandled exceptions
// (Windows) raised while a plug-in call is in progress print which call and module it was
// ("vsthost: the plug-in crashed (SIGSEGV) during effEditGetRect (13) in 'x.so'") and exit with
// kExitPluginCrashed. A fault outside any plug-in call is vsthost's own: it is reported as such
// and the process dies of the signal as it would have without the guard.
#pragma once

void InstallCrashGuard();

// The text the guard prints, composed without allocation (the handler may not allocate):
// at most size-1 characters, terminated.
void DescribeCrash(const char* what, char* out, unsigned size);
