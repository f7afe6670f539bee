// vsthost chunk save|load: the plug-in's state as a program or bank chunk in a file.
#include <cstdio>

#include "tools/vsthost/Commands.h"
#include "tools/vsthost/FileBytes.h"
#include "tools/vsthost/Platform.h"
#include "tools/vsthost/PluginSession.h"

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
        } else if (arg == "--program" && verb == "save") {
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
    return kExitOk;
}

void PrintState(HostedEffect& fx) {
    std::printf("Program:         %d \"%s\"\n", fx.Program(), fx.ProgramName().c_str());
    std::printf("Parameters:      %d\n", fx.NumParams());
    for (int32_t i = 0; i < fx.NumParams(); ++i)
        std::printf("  %3d  %-24s %.6f (%s)\n", i, ("\"" + fx.ParameterName(i) + "\"").c_str(),
                    fx.GetParameter(i), fx.ParameterDisplay(i).c_str());
}

int Save(const ChunkOptions& o) {
    if (!o.force && PathExists(o.file)) return Fail("'" + o.file + "' exists; use --force to overwrite it");
    PluginSession session;
    std::string error;
    if (!session.Start(o.module, 44100.0, 512, error)) return Fail(error);
    HostedEffect& fx = session.Effect();
    if (o.program >= 0 && !session.SelectProgram(o.program, error)) return Fail(error);
    std::vector<uint8_t> chunk;
    if (!fx.GetChunk(o.bank, chunk))
        return Fail("the plug-in gave no " + std::string(o.bank ? "bank" : "program") + " chunk");
    if (!WriteFileBytes(o.file, chunk, error)) return Fail(error);
    std::printf("Saved %s chunk of %zu bytes (program %d \"%s\") to %s\n", o.bank ? "bank" : "program",
                chunk.size(), fx.Program(), fx.ProgramName().c_str(), o.file.c_str());
    return kExitOk;
}

int Load(const ChunkOptions& o) {
    std::vector<uint8_t> chunk;
    std::string error;
    if (!ReadFileBytes(o.file, HostedEffect::kMaxChunkBytes, chunk, error)) return Fail(error);
    if (chunk.empty()) return Fail("'" + o.file + "' is empty");
    PluginSession session;
    if (!session.Start(o.module, 44100.0, 512, error)) return Fail(error);
    HostedEffect& fx = session.Effect();
    if (!fx.SetChunk(o.bank, chunk))
        return Fail("the plug-in rejected the " + std::string(o.bank ? "bank" : "program") + " chunk in '" +
                    o.file + "'");
    std::printf("Loaded %s chunk of %zu bytes from %s\n", o.bank ? "bank" : "program", chunk.size(),
                o.file.c_str());
    PrintState(fx);
    return kExitOk;
}

}  // namespace

int RunChunk(ArgReader& args) {
    if (args.Done()) return UsageError("chunk needs 'save' or 'load'");
    std::string verb = args.Next();
    if (verb != "save" && verb != "load")
        return UsageError("unknown chunk command '" + verb + "' (save or load)");
    ChunkOptions o;
    if (int code = Parse(args, verb, o)) return code;
    return verb == "save" ? Save(o) : Load(o);
}
