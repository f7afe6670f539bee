// vsthost validate MODULE: loads the module the ways hosts do, feeds it what hosts (and broken
// hosts) feed it, and reports every crash, hang, leak and wrong answer with the call that caused
// it. Each group of tests runs in a child vsthost, so a crash or hang costs that group only.
#include "tools/vsthost/Commands.h"
#include "tools/vsthost/validate/Validator.h"

namespace {

int RunValidate(ArgReader& args) {
    ValidateRequest request;
    if (int code = ParseValidateRequest(args, request)) return code;
    if (!request.childGroup.empty()) return RunValidationChild(request);
    return RunValidation(request);
}

std::string ValidateHelp() {
    return ValidateOptionsHelp() +
           "Groups, in running order: load, parameters, programs, state, audio, midi, threads, realtime,\n"
           "editor. Each runs in its own child process. The exit status is 0 when nothing failed, 1 when\n"
           "a test failed or a group hung, 5 when the module crashed (the line names the test and the "
           "call).\n";
}

}  // namespace

const CommandInfo kValidateCommand = {
    "validate",
    "  vsthost validate MODULE [--strictness 1..10] [--only GROUP,...] [--skip GROUP,...] [--seed N]\n"
    "                   [--json] [--timeout S] [--repeat N]\n",
    "checks a module against the VST 2 contract: one PASS/WARN/FAIL line per test",
    ValidateHelp,
    RunValidate,
};
