// The vsthost commands. Each takes the arguments after its name and returns an exit code; the
// table in CommandTable.cpp lists them for dispatch and help.
#pragma once

#include <cstdio>
#include <string>

#include "tools/vsthost/cli/CommandLine.h"
#include "tools/vsthost/cli/Messages.h"

struct CommandInfo {
    const char* name;
    const char* synopsis;   // one line per form, each starting with "vsthost "
    const char* summary;    // one line for the command list
    std::string (*help)();  // the options, shown by "vsthost COMMAND --help"
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
