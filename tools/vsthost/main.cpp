// vsthost: a command-line VST 2 host — inspect and scan modules, render audio offline with MIDI,
// save and restore the plug-in's state, compare two renders.
#include <cstdio>
#include <exception>
#include <new>

#include "tools/vsthost/Commands.h"
#include "tools/vsthost/system/CrashGuard.h"
#include "tools/vsthost/system/Platform.h"

namespace {

bool AsksForHelp(const std::vector<std::string>& args) {
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h") return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    InstallCrashGuard();
    try {
        std::vector<std::string> arguments = CommandLineArguments(argc, argv);
        if (arguments.empty()) {
            PrintUsage(stderr);
            return kExitUsage;
        }
        const std::string& name = arguments.front();
        if (name == "-h" || name == "--help" || name == "help") {
            PrintUsage(stdout);
            return kExitOk;
        }
        if (name == "--version") {
            std::printf("vsthost %s\n", VSTHOST_VERSION);
            return kExitOk;
        }
        const CommandInfo* command = FindCommand(name);
        if (!command) return UsageError("unknown command '" + name + "'");
        std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
        if (AsksForHelp(rest)) {
            PrintCommandHelp(*command, stdout);
            return kExitOk;
        }
        ArgReader args(std::move(rest));
        return command->run(args);
    } catch (const std::bad_alloc&) {
        return Fail("out of memory", kExitFailure);
    } catch (const std::exception& e) {
        return Fail(std::string("internal error: ") + e.what(), kExitFailure);
    }
}
