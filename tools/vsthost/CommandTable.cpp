// The command list, the shared help texts and the messages every command prints the same way.
#include <cstdio>

#include "tools/vsthost/formats/AudioFile.h"
#include "tools/vsthost/Commands.h"

namespace {

// A new command is one line here (and its CommandInfo in its own file).
const CommandInfo* const kCommands[] = {&kInfoCommand, &kRenderCommand, &kChunkCommand,   &kCompareCommand,
                                        &kScanCommand, &kEditorCommand, &kValidateCommand};

}  // namespace

const CommandInfo* FindCommand(const std::string& name) {
    for (const CommandInfo* command : kCommands)
        if (name == command->name) return command;
    return nullptr;
}

const char* ExitCodeHelp() {
    return "Exit status: 0 success; 1 a negative result (compare: the files differ) or an internal\n"
           "error; 2 bad command line; 3 a file cannot be read or written or is invalid; 4 the\n"
           "module does not load or the plug-in refuses or lacks what was asked; 5 the plug-in\n"
           "crashed or aborted (the message names the call that was running).\n";
}

void PrintUsage(FILE* out) {
    std::fprintf(out, "usage:\n");
    for (const CommandInfo* command : kCommands) std::fprintf(out, "%s", command->synopsis);
    std::fprintf(out, "  vsthost --version\n\n");
    for (const CommandInfo* command : kCommands)
        std::fprintf(out, "  %-9s%s\n", command->name, command->summary);
    std::fprintf(out,
                 "\n'vsthost COMMAND --help' shows a command's options.\n"
                 "This build reads audio as %s;\n"
                 "MIDI files of format 0 and 1 (PPQN or SMPTE time) on every platform.\n%s",
                 AudioFileSupport(), ExitCodeHelp());
}

void PrintCommandHelp(const CommandInfo& command, FILE* out) {
    std::fprintf(out, "usage:\n%s\n%s\n%s", command.synopsis, command.help().c_str(), ExitCodeHelp());
}
