// One named test of a group, written as a scope: it announces itself when constructed, collects
// what goes wrong while it runs, and ends with one PASS line (its expectation) when nothing did.
// Each problem is its own WARN or FAIL line, at most kMaxLines of them, then a count of the rest.
//
//   void OpenClose(TestContext& ctx) {
//       TestCase t(ctx, "load.open-close", "loads, opens, closes and unloads the module N times");
//       t.Calling("effOpen");
//       if (...) t.Fail("effOpen answered ...");
//   }
//
// [UI thread]: the thread that runs the group, like the context's own calls.
#pragma once

#include <memory>
#include <string>

#include "tools/vsthost/validate/TestContext.h"

class TestCase {
  public:
    static constexpr int kMaxLines = 5;

    TestCase(TestContext& context, std::string name, std::string expectation);
    ~TestCase();
    TestCase(const TestCase&) = delete;
    TestCase& operator=(const TestCase&) = delete;

    TestContext& Context() { return context; }
    const Strictness& Level() const { return context.Level(); }
    SeededRandom& Random() { return context.Random(); }

    // A fresh instance from the context; null after failing the test with the reason.
    std::unique_ptr<PluginInstance> NewInstance(double sampleRate = TestContext::kSampleRate,
                                                int32_t blockSize = TestContext::kBlockSize);

    void Calling(const std::string& call) { context.Calling(call); }
    void Fail(const std::string& why);
    void Warn(const std::string& why);
    // A failure from strictness level strictFrom on, else a warning.
    void Problem(const std::string& why, int strictFrom);
    // Ends the test without a verdict of its own (nothing to check here), with the reason.
    void Skip(const std::string& why);
    bool Failed() const { return failures > 0; }
    // Adds what was observed (an answer that is reported, not judged) to the PASS line.
    void Note(const std::string& observation) { notes += "; " + observation; }

  private:
    void Count(Verdict verdict, const std::string& why);

    TestContext& context;
    std::string name, expectation, notes;
    int failures = 0, warnings = 0, lines = 0, unreported = 0;
    bool skipped = false;
};
