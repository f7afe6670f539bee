#include "tools/vsthost/validate/ValidateRequest.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "tools/vsthost/validate/ValidateGroup.h"

namespace {

// "a,b,c" into names, each of which must be a group.
bool ParseGroups(const std::string& text, std::vector<std::string>& out, std::string& error) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!FindValidateGroup(name)) {
            std::string known;
            for (const ValidateGroup& g : ValidateGroups())
                known += (known.empty() ? "" : ", ") + std::string(g.name);
            error = "unknown group '" + name + "' (the groups: " + known + ")";
            return false;
        }
        out.push_back(name);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

bool ParseSeed(const std::string& text, uint64_t& out) {
    if (text.empty() || text[0] == '-' || text[0] == '+') return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long v = std::strtoull(text.c_str(), &end, 10);
    // Up to 2^63 - 1, so that the JSON report can hold it as a whole number.
    if (errno != 0 || *end != '\0' || v > 9223372036854775807ull) return false;
    out = v;
    return true;
}

}  // namespace

std::vector<std::string> ValidateRequest::Groups() const {
    std::vector<std::string> groups;
    for (const ValidateGroup& g : ValidateGroups()) {
        std::string name = g.name;
        bool wanted = only.empty() || std::find(only.begin(), only.end(), name) != only.end();
        if (wanted && std::find(skip.begin(), skip.end(), name) == skip.end()) groups.push_back(name);
    }
    return groups;
}

bool ParseValidateRequest(ArgReader& args, ValidateRequest& o, std::string& error) {
    std::string value;
    long number = 0;
    while (!args.Done()) {
        std::string arg = args.Next();
        if (arg == "--json") {
            o.json = true;
            continue;
        }
        if (arg.empty() || arg[0] != '-') {
            if (!o.module.empty()) {
                error = "validate takes one module ('" + arg + "' is a second)";
                return false;
            }
            o.module = arg;
            continue;
        }
        bool known = arg == "--strictness" || arg == "--only" || arg == "--skip" || arg == "--seed" ||
                     arg == "--timeout" || arg == "--repeat" || arg == "--group-child";
        if (!known) {
            error = "unknown option '" + arg + "' for validate";
            return false;
        }
        if (!args.Value(arg, value, error)) return false;
        if (arg == "--strictness") {
            if (!ParseLong(value, number) || number < 1 || number > 10) {
                error = "invalid strictness '" + value + "' (1 to 10)";
                return false;
            }
            o.strictness = static_cast<int>(number);
        } else if (arg == "--only") {
            if (!ParseGroups(value, o.only, error)) return false;
        } else if (arg == "--skip") {
            if (!ParseGroups(value, o.skip, error)) return false;
        } else if (arg == "--seed") {
            if (!ParseSeed(value, o.seed)) {
                error = "invalid seed '" + value + "' (a whole number from 0 to 2^63 - 1)";
                return false;
            }
            o.seedGiven = true;
        } else if (arg == "--timeout") {
            if (!ParseDouble(value, o.timeout) || o.timeout <= 0 || o.timeout > 86400) {
                error = "invalid timeout '" + value + "' (seconds per group, up to 86400)";
                return false;
            }
        } else if (arg == "--repeat") {
            if (!ParseLong(value, number) || number < 1 || number > 1000) {
                error = "invalid repeat count '" + value + "' (1 to 1000)";
                return false;
            }
            o.repeat = static_cast<int>(number);
        } else if (arg == "--group-child") {
            if (!FindValidateGroup(value)) {
                error = "unknown group '" + value + "'";
                return false;
            }
            o.childGroup = value;
        }
    }
    if (o.module.empty()) {
        error = "validate needs a MODULE";
        return false;
    }
    if (!o.only.empty() || !o.skip.empty()) {
        if (o.Groups().empty()) {
            error = "--only and --skip leave no group to run";
            return false;
        }
    }
    return true;
}
