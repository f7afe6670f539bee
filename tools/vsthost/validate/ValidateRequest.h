// What "vsthost validate" was asked to do, parsed strictly from its arguments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/vsthost/cli/CommandLine.h"

struct ValidateRequest {
    static constexpr double kDefaultTimeout = 120.0;
    static constexpr int kDefaultStrictness = 5;

    std::string module;
    int strictness = kDefaultStrictness;
    std::vector<std::string> only, skip;  // group names, checked against the table
    uint64_t seed = 0;
    bool seedGiven = false;
    bool json = false;
    double timeout = kDefaultTimeout;  // seconds per group
    int repeat = 1;
    std::string childGroup;  // the hidden --group-child: run this one group here, print lines

    // The groups to run, in table order.
    std::vector<std::string> Groups() const;
};

// kExitOk, or kExitUsage after printing why: an unknown option, a bad value, an unknown group or a
// missing module. [UI thread]
int ParseValidateRequest(ArgReader& args, ValidateRequest& out);
// The options' help rows, from the table the parser reads.
std::string ValidateOptionsHelp();
