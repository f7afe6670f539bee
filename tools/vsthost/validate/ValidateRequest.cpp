#include "tools/vsthost/validate/ValidateRequest.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "tools/vsthost/cli/Messages.h"
#include "tools/vsthost/cli/OptionTable.h"
#include "tools/vsthost/validate/ValidateGroup.h"

namespace {

// "a,b,c" into names, each of which must be a group: kExitOk, or kExitUsage after printing why.
int ParseGroups(const std::string& text, std::vector<std::string>& out) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!FindValidateGroup(name)) {
            std::string known;
            for (const ValidateGroup& g : ValidateGroups())
                known += (known.empty() ? "" : ", ") + std::string(g.name);
            return UsageError("unknown group '" + name + "' (the groups: " + known + ")");
        }
        out.push_back(name);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return kExitOk;
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

// A whole number from low to high.
bool ParseInt(const std::string& text, long low, long high, int& out) {
    long number = 0;
    if (!ParseLong(text, number) || number < low || number > high) return false;
    out = static_cast<int>(number);
    return true;
}

// An option taking "a,b,c", each of which must be a group.
Option GroupsOption(const char* name, const char* value, const char* help, std::vector<std::string>& out) {
    return {.name = name, .value = value, .help = help, .apply = [&out](const std::string& v) {
                return ParseGroups(v, out);
            }};
}

OptionTable ValidateTable(ValidateRequest& o) {
    return {
        "validate",
        18,
        {Checked("--strictness", "N",
                 "1 (a quick look) to 10 (full counts, most findings failures); default 5", "strictness",
                 " (1 to 10)", [&o](const std::string& v) { return ParseInt(v, 1, 10, o.strictness); }),
         GroupsOption("--only", "G,...", "run only these groups; --skip G,... leaves groups out", o.only),
         GroupsOption("--skip", "G,...", nullptr, o.skip),
         Checked("--seed", "N", "the random choices of a run (printed in the summary, to replay a failure)",
                 "seed", " (a whole number from 0 to 2^63 - 1)",
                 [&o](const std::string& v) {
                     o.seedGiven = ParseSeed(v, o.seed);
                     return o.seedGiven;
                 }),
         Flag("--json", "one JSON document with every finding instead of the lines", o.json),
         Checked("--timeout", "S",
                 "seconds a group may take before it counts as hung and is killed (default 120)", "timeout",
                 " (seconds per group, up to 86400)",
                 [&o](const std::string& v) {
                     return ParseDouble(v, o.timeout) && o.timeout > 0 && o.timeout <= 86400;
                 }),
         Checked("--repeat", "N", "run the groups N times, run k with seed N+k-1", "repeat count",
                 " (1 to 1000)", [&o](const std::string& v) { return ParseInt(v, 1, 1000, o.repeat); }),
         // The parent's way of running one group in a child; not for users, so without a help row.
         {.name = "--group-child", .value = "GROUP", .apply = [&o](const std::string& v) {
              if (!FindValidateGroup(v)) return UsageError("unknown group '" + v + "'");
              o.childGroup = v;
              return kExitOk;
          }}}};
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

int ParseValidateRequest(ArgReader& args, ValidateRequest& o) {
    int code = ParseOptions(args, ValidateTable(o), [&o](const std::string& arg) {
        if (!o.module.empty()) return UsageError("validate takes one module ('" + arg + "' is a second)");
        o.module = arg;
        return kExitOk;
    });
    if (code != kExitOk) return code;
    if (o.module.empty()) return UsageError("validate needs a MODULE");
    if ((!o.only.empty() || !o.skip.empty()) && o.Groups().empty())
        return UsageError("--only and --skip leave no group to run");
    return kExitOk;
}

std::string ValidateOptionsHelp() {
    ValidateRequest unused;
    return OptionHelp(ValidateTable(unused));
}
