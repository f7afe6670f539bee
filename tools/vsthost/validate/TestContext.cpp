#include "tools/vsthost/validate/TestContext.h"

TestContext::TestContext(std::string path, std::string groupName, const Strictness& knobs, uint64_t runSeed,
                         FILE* output)
    : modulePath(std::move(path)),
      group(std::move(groupName)),
      level(knobs),
      seed(runSeed),
      random(SeededRandom::For(runSeed, group)),
      out(output) {}

PluginModule* TestContext::Module(std::string& error) {
    if (!moduleTried) {
        moduleTried = true;
        auto loaded = std::make_unique<PluginModule>();
        Calling("loading the module");
        if (loaded->Load(modulePath, moduleError)) module = std::move(loaded);
    }
    error = moduleError;
    return module.get();
}

std::unique_ptr<PluginInstance> TestContext::NewInstance(std::string& error, double sampleRate,
                                                         int32_t blockSize) {
    PluginModule* m = Module(error);
    if (!m) return nullptr;
    return PluginInstance::Create(*m, sampleRate, blockSize, error);
}

void TestContext::Line(const std::string& line) {
    std::lock_guard<std::mutex> hold(outLock);
    std::fprintf(out, "%s\n", line.c_str());
    std::fflush(out);
}

void TestContext::Begin(const std::string& test) {
    call.clear();
    Line(FindingLine::Begin(test));
}

void TestContext::Calling(const std::string& what) {
    call = what;
    Line(FindingLine::Call(what));
}

void TestContext::Emit(Verdict verdict, const std::string& test, const std::string& text) {
    Finding f;
    f.verdict = verdict;
    f.test = test;
    f.call = verdict == Verdict::Pass || verdict == Verdict::Skip ? std::string() : call;
    f.reason = text;
    Line(FindingLine::Encode(f));
}

void TestContext::Pass(const std::string& test, const std::string& expectation) {
    Emit(Verdict::Pass, test, expectation);
}
void TestContext::Warn(const std::string& test, const std::string& why) {
    Emit(Verdict::Warn, test, why);
}
void TestContext::Fail(const std::string& test, const std::string& why) {
    Emit(Verdict::Fail, test, why);
}
void TestContext::Skip(const std::string& test, const std::string& why) {
    Emit(Verdict::Skip, test, why);
}
void TestContext::Problem(const std::string& test, const std::string& why, int strictFrom) {
    Emit(level.level >= strictFrom ? Verdict::Fail : Verdict::Warn, test, why);
}
void TestContext::End() {
    Line(FindingLine::End());
}
