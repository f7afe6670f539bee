// The messages every part of vsthost prints the same way, on standard error.
#pragma once

#include <string>

#include "tools/vsthost/cli/ExitCodes.h"

// Prints "vsthost: message" and returns code.
int Fail(const std::string& message, int code);
// Prints the message with a pointer to --help and returns kExitUsage.
int UsageError(const std::string& message);
// "vsthost: warning: message".
void Warn(const std::string& message);
