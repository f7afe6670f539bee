#include "tools/vsthost/cli/CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

bool ParseDouble(const std::string& text, double& out) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool ParseLong(const std::string& text, long& out) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size()) return false;
    out = v;
    return true;
}

bool ArgReader::Value(const std::string& option, std::string& out, std::string& error) {
    if (Done()) {
        error = "option " + option + " needs a value";
        return false;
    }
    out = Next();
    return true;
}
