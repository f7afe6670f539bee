// vsthost chunk save|load: the plug-in's state in a file: an .fxp program, an .fxb bank or the
// plug-in's raw chunk bytes.
#include <cstdio>

#include "tools/vsthost/Commands.h"
#include "tools/vsthost/system/Platform.h"
#include "tools/vsthost/host/PluginSession.h"
#include "tools/vsthost/formats/StateFile.h"
#include "tools/vsthost/render/StartState.h"

namespace {

struct ChunkOptions {
    std::string module, file;
    bool bank = false, force = false;
    long program = -1;
};

// The options of chunk save, or of chunk load (no --force).
OptionTable ChunkTable(ChunkOptions& o, bool save) {
    OptionTable table{
        save ? "chunk save" : "chunk load",
        16,
        {Operand("FILE",
                 ".fxp: one program; .fxb: the bank; any other name: the plug-in's raw\n"
                 "chunk (program, or bank with --bank). Plug-ins with chunks are saved as\n"
                 "FPCh/FBCh, the others as parameter lists (FxCk/FxBk). Loading reads the\n"
                 "format from the file and refuses a preset made for another plug-in ID."),
         Flag("--bank", "the whole bank rather than the current program (raw files)", o.bank),
         ProgramOption(o.program,
                       "select program N first (save: the one saved; load: the one loaded into)")}};
    if (save) table.options.push_back(Flag("--force", "overwrite an existing FILE", o.force));
    return table;
}

std::string ChunkHelp() {
    ChunkOptions unused;
    return OptionHelp(ChunkTable(unused, true)) +
           "After loading, the resulting program name and parameter values are printed.\n";
}

int Parse(ArgReader& args, const std::string& verb, ChunkOptions& o) {
    std::vector<std::string> positional;
    int code = ParseOptions(args, ChunkTable(o, verb == "save"), [&positional](const std::string& arg) {
        positional.push_back(arg);
        return kExitOk;
    });
    if (code != kExitOk) return code;
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
    ChunkHelp,
    RunChunk,
};
