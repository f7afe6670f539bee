#include "tools/vsthost/validate/GroupRunner.h"

#include <chrono>
#include <cstdio>
#include <sstream>

#include "tools/vsthost/validate/Strictness.h"

namespace {

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// The text after "vsthost: " of the crash guard's line, or a sanitizer's report line (a race
// included); empty when the output has neither.
std::string CrashLine(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        size_t at = line.find("the plug-in crashed");
        if (at != std::string::npos) return line.substr(at);
    }
    for (const std::string& line : lines) {
        size_t at = line.find("ERROR: AddressSanitizer");
        if (at == std::string::npos) at = line.find("WARNING: ThreadSanitizer");
        if (at == std::string::npos) at = line.find("runtime error:");
        if (at != std::string::npos) return line.substr(at);
    }
    return {};
}

// "during effSetChunk (24) in 'x.so'" -> "effSetChunk (24)".
std::string CallOfCrash(const std::string& crash) {
    size_t from = crash.find(" during ");
    if (from == std::string::npos) return {};
    from += 8;
    size_t to = crash.find(" in '", from);
    return crash.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

// The leak checker's summary ("123 byte(s) leaked in 4 allocation(s)."), empty when none.
std::string LeakSummary(const std::string& output) {
    if (!Contains(output, "LeakSanitizer: detected memory leaks")) return {};
    size_t at = output.find("SUMMARY: AddressSanitizer: ");
    if (at == std::string::npos) return "memory leaked";
    at += 27;
    size_t end = output.find_first_of("\r\n", at);
    return output.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

// What the child's lines say: its findings, the test and call it was in last, and whether it
// reached its end.
struct ChildLines {
    std::vector<std::string> lines;
    std::string openTest, lastCall;
    bool ended = false;
};

ChildLines ReadChildLines(const std::string& output, std::vector<Finding>& findings) {
    ChildLines read;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) read.lines.push_back(line);
    for (const std::string& each : read.lines) {
        Finding f;
        std::string text;
        switch (FindingLine::Decode(each, f, text)) {
            case FindingLine::Kind::Begin:
                read.openTest = text;
                read.lastCall.clear();
                break;
            case FindingLine::Kind::Call:
                read.lastCall = text;
                break;
            case FindingLine::Kind::Finding:
                findings.push_back(f);
                if (f.verdict == Verdict::Pass || f.verdict == Verdict::Skip) read.openTest.clear();
                break;
            case FindingLine::Kind::End:
                read.ended = true;
                read.openTest.clear();
                break;
            case FindingLine::Kind::None:
                break;
        }
    }
    return read;
}

}  // namespace

GroupOutcome InterpretGroupChild(const GroupRun& run, const ChildResult& child) {
    GroupOutcome outcome;
    const ChildLines read = ReadChildLines(child.output, outcome.findings);
    const std::vector<std::string>& lines = read.lines;
    const std::string& openTest = read.openTest;
    const std::string& lastCall = read.lastCall;
    const bool ended = read.ended;
    const std::string charged = openTest.empty() ? run.group : openTest;
    if (!child.started) {
        outcome.crashed = true;
        outcome.findings.push_back({Verdict::Fail, run.group, "", "cannot run the group: " + child.error});
        return outcome;
    }
    if (child.timedOut) {
        outcome.hung = true;
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%g", run.timeout);
        outcome.findings.push_back(
            {Verdict::Fail, charged, lastCall,
             std::string("no answer within ") + seconds + " s (the group was killed)"});
        return outcome;
    }
    std::string crash = CrashLine(lines);
    bool guarded = crash.find("the plug-in crashed") == 0;
    if (!ended || guarded) {
        outcome.crashed = true;
        std::string reason = crash;
        if (reason.empty())
            reason = child.signaled ? "the group's process died of signal " + std::to_string(child.exitCode)
                                    : "the group's process ended (status " + std::to_string(child.exitCode) +
                                          ") before finishing";
        std::string call = CallOfCrash(crash);
        outcome.findings.push_back({Verdict::Fail, charged, call.empty() ? lastCall : call, reason});
        return outcome;
    }
    if (!crash.empty())  // a sanitizer's report that did not end the process
        outcome.findings.push_back({Verdict::Fail, run.group + ".sanitizer", "", crash});
    std::string leaks = LeakSummary(child.output);
    if (!leaks.empty()) {
        const Strictness& level = StrictnessForLevel(run.strictness);
        Verdict v = run.strictness >= level.memoryGrowthFailsFrom ? Verdict::Fail : Verdict::Warn;
        outcome.findings.push_back(
            {v, run.group + ".leaks", "", "at the group's exit the leak checker found: " + leaks});
    }
    return outcome;
}

GroupOutcome RunGroupInChild(const GroupRun& run) {
    auto started = std::chrono::steady_clock::now();
    std::vector<std::string> args = {"validate",      run.module,
                                     "--group-child", run.group,
                                     "--strictness",  std::to_string(run.strictness),
                                     "--seed",        std::to_string(run.seed)};
    ChildResult child = RunChildProcess(run.self, args, run.timeout);
    GroupOutcome outcome = InterpretGroupChild(run, child);
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return outcome;
}
