// The vsthost commands. Each takes the arguments after its name and returns an exit code; the
// table in CommandTable.cpp lists them for dispatch and help.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/vsthost/CommandLine.h"

// Exit codes: a script can tell a wrong command line from a bad file from a bad plug-in.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;        // a negative result (compare: files differ), internal error
constexpr int kExitUsage = 2;          // bad command line
constexpr int kExitInput = 3;          // a file cannot be read or written, or its content is invalid
constexpr int kExitPlugin = 4;         // the module does not load, or the plug-in refuses or lacks
                                       // what was asked
constexpr int kExitPluginCrashed = 5;  // the plug-in crashed or aborted during a call

struct CommandInfo {
    const char* name;
    const char* synopsis;  // one line per form, each starting with "vsthost "
    const char* summary;   // one line for the command list
    const char* help;      // the options, shown by "vsthost COMMAND --help"
    int (*run)(ArgReader& args);
};

extern const CommandInfo kInfoCommand;
extern const CommandInfo kRenderCommand;
extern const CommandInfo kChunkCommand;
extern const CommandInfo kCompareCommand;
extern const CommandInfo kScanCommand;
extern const CommandInfo kEditorCommand;
extern const CommandInfo kValidateCommand;

// Null when name is no command.
const CommandInfo* FindCommand(const std::string& name);
void PrintUsage(FILE* out);
void PrintCommandHelp(const CommandInfo& command, FILE* out);
const char* ExitCodeHelp();

// Prints "vsthost: message" on stderr and returns code.
int Fail(const std::string& message, int code);
int UsageError(const std::string& message);
// "vsthost: warning: message" on stderr.
void Warn(const std::string& message);

// "930772850 (0x377A7772, '7zwr')": an ID as number, hex and four characters.
std::string DescribeFourCharCode(int32_t id);
// Names of the set effect flags, e.g. "HasEditor CanMono CanReplacing".
std::string DescribeEffectFlags(int32_t flags);
