// A command's options, declared once: the parser reads the command line through the table and
// --help prints the table's rows, so that the two cannot drift apart.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/vsthost/cli/CommandLine.h"

struct Option {
    // Takes the option's value (empty for a flag): kExitOk, or the exit code after printing why
    // the value is refused.
    using Apply = std::function<int(const std::string& value)>;

    const char* name;             // "--rate"; a name without a leading '-' is an operand, a help row only
    const char* alias = nullptr;  // another spelling ("--output" for "-o"), not shown in the help
    const char* value = nullptr;  // the value's name in the help ("HZ"); null for a flag
    const char* help = nullptr;   // the row's text, '\n' between its lines; null: no row of its own
    Apply apply = nullptr;
    const char* label = nullptr;  // the row's label when not "name value" (one row for several)
};

struct OptionTable {
    const char* command;  // for "unknown option '-x' for render"
    int column;           // where the rows' text starts
    std::vector<Option> options;
};

// Walks the arguments: every one starting with '-' through the table, the others through operand.
// kExitOk, or the exit code after printing why not.
int ParseOptions(ArgReader& args, const OptionTable& table,
                 const std::function<int(const std::string& operand)>& operand);

// The table's help rows: the label from column 2, its text from the table's column (a longer
// label is set off by three spaces), further lines of text at that column.
std::string OptionHelp(const OptionTable& table);

// What the common entries do: a value stored, a flag set.
Option::Apply Store(std::string& target);
Option::Apply Set(bool& target);
// The common entries.
Option Flag(const char* name, const char* help, bool& target);
Option Text(const char* name, const char* value, const char* help, std::string& target);
Option Operand(const char* name, const char* help);
// A value that accept takes (storing it), or refuses with "invalid WHAT 'value'" and the hint.
Option Checked(const char* name, const char* value, const char* help, const char* what, const char* hint,
               std::function<bool(const std::string& value)> accept);
