#include "tools/vsthost/validate/Validator.h"

#include <random>

#include "tools/vsthost/cli/Messages.h"
#include "tools/vsthost/system/Platform.h"
#include "tools/vsthost/validate/GroupRunner.h"
#include "tools/vsthost/validate/TestContext.h"
#include "tools/vsthost/validate/ValidateGroup.h"
#include "tools/vsthost/validate/ValidateReport.h"

int RunValidation(const ValidateRequest& request) {
    uint64_t seed = request.seed;
    if (!request.seedGiven) {
        std::random_device device;
        seed = (uint64_t{device()} << 32 | device()) % 1000000000ull;
    }
    std::string self = SelfExecutablePath();
    if (self.empty()) return Fail("cannot find vsthost's own executable to run the groups", kExitFailure);
    if (!PathExists(request.module))
        return Fail("cannot load module '" + request.module + "': no such file", kExitPlugin);

    std::vector<std::string> groups = request.Groups();
    ValidateReport report(stdout, request.json, !request.json && StderrIsTerminal());
    report.Start(request.module, request.strictness, seed, request.repeat);
    for (int run = 1; run <= request.repeat; ++run) {
        uint64_t runSeed = seed + static_cast<uint64_t>(run - 1);
        for (size_t g = 0; g < groups.size(); ++g) {
            report.GroupStarted(groups[g], g, groups.size(), run);
            GroupRun groupRun{self, request.module, groups[g], request.strictness, runSeed, request.timeout};
            GroupOutcome outcome = RunGroupInChild(groupRun);
            for (const Finding& f : outcome.findings) report.Add(f, run, runSeed);
            report.GroupEnded(outcome.crashed, outcome.hung, outcome.seconds);
        }
    }
    return report.Finish();
}

int RunValidationChild(const ValidateRequest& request) {
    const ValidateGroup* group = FindValidateGroup(request.childGroup);
    if (!group) return UsageError("unknown group '" + request.childGroup + "'");
    TestContext context(request.module, group->name, StrictnessForLevel(request.strictness), request.seed,
                        stdout);
    group->run(context);
    context.End();
    return kExitOk;
}
