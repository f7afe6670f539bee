// The validator's own machinery: the arguments, how a group's child is judged when it crashes,
// hangs or leaks, and how findings add up to the summary and the exit code. The groups themselves
// are tested by running them over modules (the command-line tests and the fault modules).
#include <gtest/gtest.h>

#include "tools/vsthost/cli/ExitCodes.h"
#include "tools/vsthost/validate/GroupRunner.h"
#include "tools/vsthost/validate/ValidateReport.h"
#include "tools/vsthost/validate/ValidateRequest.h"

namespace {

bool Parse(std::vector<std::string> args, ValidateRequest& out) {
    ArgReader reader(std::move(args));
    return ParseValidateRequest(reader, out) == kExitOk;
}

std::string Lines(const std::vector<Finding>& findings) {
    std::string out;
    for (const Finding& f : findings) out += FindingLine::Encode(f) + "\n";
    return out;
}

}  // namespace

TEST(Validate, ArgumentsAndGroupSelection) {
    ValidateRequest r;
    ASSERT_TRUE(Parse({"m.so", "--strictness", "10", "--only", "load,state,audio", "--skip", "state",
                       "--seed", "9223372036854775807", "--repeat", "3", "--timeout", "2.5", "--json"},
                      r));
    EXPECT_EQ(r.strictness, 10);
    EXPECT_EQ(r.seed, 9223372036854775807ull);
    EXPECT_TRUE(r.seedGiven && r.json);
    EXPECT_EQ(r.repeat, 3);
    EXPECT_EQ(r.Groups(), (std::vector<std::string>{"load", "audio"}));  // table order, minus the skipped

    const std::vector<std::vector<std::string>> bad = {{"m.so", "--strictness", "0"},
                                                       {"m.so", "--strictness", "11"},
                                                       {"m.so", "--only", "load,nosuch"},
                                                       {"m.so", "--seed", "-1"},
                                                       {"m.so", "--seed", "9223372036854775808"},
                                                       {"m.so", "--seed", "12x"},
                                                       {"m.so", "--repeat", "0"},
                                                       {"m.so", "--frobnicate"},
                                                       {"--only", "load"},
                                                       {"m.so", "n.so"},
                                                       {"m.so", "--only", "load", "--skip", "load"}};
    for (const auto& args : bad) {
        ValidateRequest ignored;
        EXPECT_FALSE(Parse(args, ignored)) << args.back();
    }
}

// A child that dies names the test it had begun and the call the crash guard saw; one that hangs
// is charged with its open test and last announced call; one that ends but leaks gets a finding.
TEST(Validate, ChildCrashHangAndLeak) {
    GroupRun run{"vsthost", "m.so", "state", 10, 1, 3};
    ChildResult crashed;
    crashed.started = true;
    crashed.exitCode = 5;  // the crash guard's exit
    crashed.output =
        Lines({{Verdict::Pass, "state.files", "", "ok"}}) + FindingLine::Begin("state.hostile") + "\n" +
        FindingLine::Call("effSetChunk with garbage") +
        "\nvsthost: the plug-in crashed (SIGSEGV, invalid memory access) during effSetChunk (24) in "
        "'m.so'\n";
    GroupOutcome c = InterpretGroupChild(run, crashed);
    ASSERT_EQ(c.findings.size(), 2u);
    EXPECT_TRUE(c.crashed);
    EXPECT_EQ(c.findings[1].verdict, Verdict::Fail);
    EXPECT_EQ(c.findings[1].test, "state.hostile");
    EXPECT_EQ(c.findings[1].call, "effSetChunk (24)");

    ChildResult hung;
    hung.started = hung.timedOut = true;
    hung.output =
        FindingLine::Begin("state.moved") + "\n" + FindingLine::Call("processReplacing on both") + "\n";
    GroupOutcome h = InterpretGroupChild(run, hung);
    ASSERT_EQ(h.findings.size(), 1u);
    EXPECT_TRUE(h.hung && !h.crashed);
    EXPECT_EQ(h.findings[0].test, "state.moved");
    EXPECT_EQ(h.findings[0].call, "processReplacing on both");
    EXPECT_NE(h.findings[0].reason.find("no answer within 3 s"), std::string::npos);

    ChildResult leaked;
    leaked.started = true;
    leaked.exitCode = 23;
    leaked.output =
        FindingLine::End() +
        "\n==1==ERROR: LeakSanitizer: detected memory leaks\nSUMMARY: AddressSanitizer: 96 byte(s) "
        "leaked in 2 allocation(s).\n";
    GroupOutcome l = InterpretGroupChild(run, leaked);
    ASSERT_EQ(l.findings.size(), 1u);
    EXPECT_FALSE(l.crashed);
    EXPECT_EQ(l.findings[0].test, "state.leaks");
    EXPECT_NE(l.findings[0].reason.find("96 byte(s) leaked"), std::string::npos);
}

// A test counts once, by its worst finding; a crash outranks a failure in the exit code.
TEST(Validate, SummaryCountsAndExitCodes) {
    FILE* sink = std::tmpfile();
    ValidateReport report(sink, false, false);
    report.Start("m.so", 7, 42, 1);
    report.Add({Verdict::Pass, "a.one", "", "ok"}, 1, 42);
    report.Add({Verdict::Warn, "a.two", "x", "odd"}, 1, 42);
    report.Add({Verdict::Fail, "a.two", "x", "wrong"}, 1, 42);
    report.Add({Verdict::Skip, "a.three", "", "n/a"}, 1, 42);
    ValidateReport::Counts c = report.Totals();
    EXPECT_EQ(c.passed, 1);
    EXPECT_EQ(c.warned, 0);
    EXPECT_EQ(c.failed, 1);
    EXPECT_EQ(c.skipped, 1);
    EXPECT_EQ(report.Finish(), 1);
    std::rewind(sink);
    char text[4096] = {};
    size_t n = std::fread(text, 1, sizeof text - 1, sink);
    EXPECT_NE(
        std::string(text, n).find("validate: 3 tests: 1 passed, 0 warned, 1 failed, 1 skipped; strictness 7, "
                                  "seed 42"),
        std::string::npos);
    std::fclose(sink);

    FILE* json = std::tmpfile();
    ValidateReport j(json, true, false);
    j.Start("m.so", 1, 1, 1);
    j.GroupEnded(true, false, 0.1);
    EXPECT_EQ(j.Finish(), 5);
    std::fclose(json);
}
