#include "tools/vsthost/render/StartState.h"

#include "tools/vsthost/cli/Messages.h"
#include "tools/vsthost/formats/StateFile.h"

int LoadStartState(PluginSession& session, const StartState& state, std::vector<std::string>& reports) {
    HostedEffect& fx = session.Effect();
    const bool bankState = state.bank || StateFormatForPath(state.chunkFile) == StateFormat::Fxb;
    if (!state.chunkFile.empty() && bankState) {
        StateResult loaded = LoadStateFile(fx, state.chunkFile, true);
        if (!loaded.ok) return Fail(loaded.error, loaded.exitCode);
    }
    std::string error;
    if (state.program >= 0 && !session.SelectProgram(state.program, error)) return Fail(error, kExitPlugin);
    if (!state.chunkFile.empty() && !bankState) {
        StateResult loaded = LoadStateFile(fx, state.chunkFile, false);
        if (!loaded.ok) return Fail(loaded.error, loaded.exitCode);
    }
    for (const ParameterSetting& p : state.params) {
        std::string line;
        if (!ApplyParameterSetting(fx, p, line, error)) return Fail(error, kExitPlugin);
        reports.push_back(line);
    }
    return kExitOk;
}

Option ProgramOption(long& program, const char* help) {
    return Checked("--program", "N", help, "program number", "",
                   [&program](const std::string& v) { return ParseLong(v, program) && program >= 0; });
}

std::vector<Option> StartStateOptions(StartState& state) {
    return {ProgramOption(state.program, "select program N first"),
            Text("--chunk", "FILE",
                 "load state first: .fxp, .fxb or a raw program chunk (with --bank:\n"
                 "a raw bank chunk)",
                 state.chunkFile),
            Flag("--bank", nullptr, state.bank),
            {.name = "--param",
             .value = "NAME=V",
             .help = "set a parameter, by index or name, to the normalised value V, or\n"
                     "to display text with NAME=text:T (e.g. Gain=text:-20; repeatable)",
             .apply = [&state](const std::string& v) {
                 ParameterSetting p;
                 std::string error;
                 if (!ParseParameterSetting(v, p, error)) return UsageError(error);
                 state.params.push_back(p);
                 return kExitOk;
             }}};
}
