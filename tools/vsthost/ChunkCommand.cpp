// vsthost chunk save|load: the plug-in's state in a file: an .fxp program, an .fxb bank or the
// plug-in's raw chunk bytes.
#include <cstdio>

#include "tools/vsthost/Commands.h"
#include "tools/vsthost/system/Platform.h"
#include "tools/vsthost/host/PluginSession.h"
#include "tools/vsthost/formats/StateFile.h"

namespace {

struct ChunkOptions {
    std::string module, file;
    bool bank = false, force = false;
    long program = -1;
};

int Parse(ArgReader& args, const std::string& verb, ChunkOptions& o) {
    std::string error, value;
    std::vector<std::string> positional;
    while (!args.Done()) {
        std::string arg = args.Next();
        if (arg == "--bank") {
            o.bank = true;
        } else if (arg == "--force" && verb == "save") {
            o.force = true;
        } else if (arg == "--program") {
            if (!args.Value(arg, value, error)) return UsageError(error);
            if (!ParseLong(value, o.program) || o.program < 0)
                return UsageError("invalid program number '" + value + "'");
        } else if (!arg.empty() && arg[0] == '-') {
            return UsageError("unknown option '" + arg + "' for chunk " + verb);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) return UsageError("chunk " + verb + " needs MODULE and FILE");
    o.module = positional[0];
    o.file = positional[1];
    StateFormat format = StateFormatForPath(o.file);
    if (format == StateFormat::Fxb) o.bank = true;
    if (format == StateFormat::Fxp && o.bank)
        return UsageError("an .fxp file holds one program; use .fxb for a bank");
    return kExitOk;
}

void PrintState(HostedEffect& fx) {
    std::printf("Program:         %d \"%s\"\n", fx.Program(), fx.ProgramName().c_str());
    std::printf("Parameters:      %d\n", fx.NumParams());
    for (int32_t i = 0; i < fx.NumParams(); ++i)
        std::printf("  %3d  %-24s %.6f (%s)\n", i, ("\"" + fx.ParameterName(i) + "\"").c_str(),
                    fx.GetParameter(i), fx.ParameterDisplay(i).c_str());
}

int Run(const ChunkOptions& o, bool save) {
    if (save && !o.force && PathExists(o.file))
        return Fail("'" + o.file + "' exists; use --force to overwrite it", kExitInput);
    PluginSession session;
    std::string error;
    if (!session.Start(o.module, 44100.0, 512, error)) return Fail(error, kExitPlugin);
    HostedEffect& fx = session.Effect();
    // Saving: the program to save. Loading: the program a program file goes into.
    if (o.program >= 0 && !session.SelectProgram(o.program, error)) return Fail(error, kExitPlugin);
    StateResult result = save ? SaveStateFile(fx, o.file, o.bank) : LoadStateFile(fx, o.file, o.bank);
    if (!result.ok) return Fail(result.error, result.exitCode);
    std::printf("%s\n", result.summary.c_str());
    if (!save) PrintState(fx);
    return kExitOk;
}

int RunChunk(ArgReader& args) {
    if (args.Done()) return UsageError("chunk needs 'save' or 'load'");
    std::string verb = args.Next();
    if (verb != "save" && verb != "load")
        return UsageError("unknown chunk command '" + verb + "' (save or load)");
    ChunkOptions o;
    if (int code = Parse(args, verb, o)) return code;
    return Run(o, verb == "save");
}

}  // namespace

const CommandInfo kChunkCommand = {
    "chunk",
    "  vsthost chunk save MODULE [--bank] [--program N] [--force] FILE\n"
    "  vsthost chunk load MODULE [--bank] [--program N] FILE\n",
    "save or load the plug-in's state (.fxp, .fxb or raw chunk)",
    "  FILE          .fxp: one program; .fxb: the bank; any other name: the plug-in's raw\n"
    "                chunk (program, or bank with --bank). Plug-ins with chunks are saved as\n"
    "                FPCh/FBCh, the others as parameter lists (FxCk/FxBk). Loading reads the\n"
    "                format from the file and refuses a preset made for another plug-in ID.\n"
    "  --bank        the whole bank rather than the current program (raw files)\n"
    "  --program N   select program N first (save: the one saved; load: the one loaded into)\n"
    "  --force       overwrite an existing FILE\n"
    "After loading, the resulting program name and parameter values are printed.\n",
    RunChunk,
};
