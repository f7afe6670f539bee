#include "tools/vsthost/render/StartState.h"

#include "tools/vsthost/Commands.h"
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
