#include "tools/vsthost/cli/Messages.h"

#include <cstdio>

int Fail(const std::string& message, int code) {
    std::fprintf(stderr, "vsthost: %s\n", message.c_str());
    return code;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "vsthost: %s\n(vsthost --help lists the commands and options)\n", message.c_str());
    return kExitUsage;
}

void Warn(const std::string& message) {
    std::fprintf(stderr, "vsthost: warning: %s\n", message.c_str());
}
