#include "tools/vsthost/validate/ValidateReport.h"

#include <map>
#include <utility>

#include "tools/vsthost/cli/Messages.h"
#include "tools/vsthost/formats/JsonWriter.h"

namespace {

int Rank(Verdict v) {
    switch (v) {
        case Verdict::Skip:
            return 0;
        case Verdict::Pass:
            return 1;
        case Verdict::Warn:
            return 2;
        case Verdict::Fail:
            return 3;
    }
    return 0;
}

}  // namespace

ValidateReport::ValidateReport(FILE* output, bool asJson, bool showProgress)
    : out(output), json(asJson), progress(showProgress) {}

void ValidateReport::Start(const std::string& path, int level, uint64_t runSeed, int runs) {
    module = path;
    strictness = level;
    seed = runSeed;
    repeat = runs;
    if (!json)
        std::fprintf(out, "Validating %s at strictness %d, seed %llu\n", path.c_str(), level,
                     static_cast<unsigned long long>(runSeed));
}

void ValidateReport::ClearProgress() {
    if (!progressShown) return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    progressShown = false;
}

void ValidateReport::GroupStarted(const std::string& group, size_t index, size_t groups, int run) {
    if (!progress) return;
    ClearProgress();
    if (repeat > 1)
        std::fprintf(stderr, "validate: run %d/%d, group %zu/%zu: %s ...", run, repeat, index + 1, groups,
                     group.c_str());
    else
        std::fprintf(stderr, "validate: group %zu/%zu: %s ...", index + 1, groups, group.c_str());
    std::fflush(stderr);
    progressShown = true;
}

void ValidateReport::Add(const Finding& f, int run, uint64_t runSeed) {
    entries.push_back({f, run, runSeed});
    if (json) return;
    ClearProgress();
    bool named = f.call.empty() || f.reason.find("during " + f.call) != std::string::npos;
    std::string where = named ? "" : " [during " + f.call + "]";
    std::string which =
        repeat > 1 ? " (run " + std::to_string(run) + ", seed " + std::to_string(runSeed) + ")" : "";
    std::fprintf(out, "%s %s%s: %s%s\n", VerdictName(f.verdict), f.test.c_str(), which.c_str(),
                 f.reason.c_str(), where.c_str());
    std::fflush(out);
}

void ValidateReport::GroupEnded(bool crashed, bool hung, double groupSeconds) {
    if (crashed) ++crashes;
    if (hung) ++hangs;
    seconds += groupSeconds;
}

ValidateReport::Counts ValidateReport::Totals() const {
    // The worst finding of each test in each run.
    std::map<std::pair<int, std::string>, Verdict> tests;
    for (const Entry& e : entries) {
        auto key = std::make_pair(e.run, e.finding.test);
        auto it = tests.find(key);
        if (it == tests.end())
            tests.emplace(key, e.finding.verdict);
        else if (Rank(e.finding.verdict) > Rank(it->second))
            it->second = e.finding.verdict;
    }
    Counts c;
    for (const auto& t : tests) {
        switch (t.second) {
            case Verdict::Pass:
                ++c.passed;
                break;
            case Verdict::Warn:
                ++c.warned;
                break;
            case Verdict::Fail:
                ++c.failed;
                break;
            case Verdict::Skip:
                ++c.skipped;
                break;
        }
    }
    c.crashes = crashes;
    c.hangs = hangs;
    return c;
}

int ValidateReport::Finish() {
    ClearProgress();
    Counts c = Totals();
    int code = c.crashes > 0 ? kExitPluginCrashed : (c.failed > 0 || c.hangs > 0) ? kExitFailure : kExitOk;
    char summary[512];
    std::snprintf(
        summary, sizeof summary,
        "validate: %d tests: %d passed, %d warned, %d failed, %d skipped%s%s; strictness %d, seed %llu"
        " (%.1f s)",
        c.passed + c.warned + c.failed + c.skipped, c.passed, c.warned, c.failed, c.skipped,
        c.crashes ? "; the module crashed" : "", c.hangs ? "; a group hung" : "", strictness,
        static_cast<unsigned long long>(seed), seconds);
    if (!json) {
        std::fprintf(out, "%s\n", summary);
        std::fflush(out);
        return code;
    }
    JsonWriter w;
    w.BeginObject();
    w.Field("module", module);
    w.Field("strictness", int32_t{strictness});
    w.Key("seed");
    w.Integer(static_cast<int64_t>(seed));
    w.Field("repeat", int32_t{repeat});
    w.Key("findings");
    w.BeginArray();
    for (const Entry& e : entries) {
        w.BeginObject();
        w.Field("run", int32_t{e.run});
        w.Field("verdict", VerdictName(e.finding.verdict));
        w.Field("test", e.finding.test);
        w.Field("call", e.finding.call);
        w.Field("reason", e.finding.reason);
        w.EndObject();
    }
    w.EndArray();
    w.Key("summary");
    w.BeginObject();
    w.Field("passed", int32_t{c.passed});
    w.Field("warned", int32_t{c.warned});
    w.Field("failed", int32_t{c.failed});
    w.Field("skipped", int32_t{c.skipped});
    w.Field("crashed", c.crashes > 0);
    w.Field("hung", c.hangs > 0);
    w.Field("seconds", seconds);
    w.Field("text", std::string(summary));
    w.EndObject();
    w.Field("exitCode", int32_t{code});
    w.EndObject();
    std::fprintf(out, "%s\n", w.Text().c_str());
    return code;
}
