// One result of a validator test, and the line form in which a group's child process hands it
// to the parent: "#validate VERDICT test<TAB>call<TAB>reason". The child also announces each test
// it begins and each plug-in call a test is about to make, so that when the child crashes or
// hangs the parent can name both. Texts are cleaned of tabs and line breaks before encoding.
#pragma once

#include <string>

enum class Verdict { Pass, Warn, Fail, Skip };

const char* VerdictName(Verdict verdict);  // "PASS", "WARN", "FAIL", "SKIP"

struct Finding {
    Verdict verdict = Verdict::Pass;
    std::string test;    // "group.name"
    std::string call;    // the plug-in call running when it was made; may be empty
    std::string reason;  // what was expected (PASS, SKIP) or what went wrong (WARN, FAIL)
};

// The protocol between the parent and a group's child. [any thread]
namespace FindingLine {

constexpr const char* kPrefix = "#validate ";

std::string Encode(const Finding& finding);
std::string Begin(const std::string& test);
std::string Call(const std::string& call);
std::string End();

enum class Kind { None, Finding, Begin, Call, End };
// What a line of the child's output is; None for anything else (the plug-in's own output).
Kind Decode(const std::string& line, Finding& finding, std::string& text);

}  // namespace FindingLine
