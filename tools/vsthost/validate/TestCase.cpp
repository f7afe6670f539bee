#include "tools/vsthost/validate/TestCase.h"

TestCase::TestCase(TestContext& c, std::string testName, std::string expects)
    : context(c), name(std::move(testName)), expectation(std::move(expects)) {
    context.Begin(name);
}

TestCase::~TestCase() {
    context.ClearCall();
    if (unreported > 0) {
        std::string more = "and " + std::to_string(unreported) + " more problems of the same test";
        if (failures > 0)
            context.Fail(name, more);
        else
            context.Warn(name, more);
    }
    if (!skipped && failures == 0 && warnings == 0) context.Pass(name, expectation + notes);
}

std::unique_ptr<PluginInstance> TestCase::NewInstance(double sampleRate, int32_t blockSize) {
    std::string error;
    auto instance = context.NewInstance(error, sampleRate, blockSize);
    if (!instance) Fail(error);
    return instance;
}

void TestCase::Count(Verdict verdict, const std::string& why) {
    (verdict == Verdict::Fail ? failures : warnings)++;
    if (lines >= kMaxLines) {
        ++unreported;
        return;
    }
    ++lines;
    if (verdict == Verdict::Fail)
        context.Fail(name, why);
    else
        context.Warn(name, why);
}

void TestCase::Fail(const std::string& why) {
    Count(Verdict::Fail, why);
}
void TestCase::Warn(const std::string& why) {
    Count(Verdict::Warn, why);
}
void TestCase::Problem(const std::string& why, int strictFrom) {
    Count(Level().level >= strictFrom ? Verdict::Fail : Verdict::Warn, why);
}
void TestCase::Skip(const std::string& why) {
    skipped = true;
    context.Skip(name, why);
}
