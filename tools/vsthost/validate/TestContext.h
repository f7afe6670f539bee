// What a group's tests work with, inside the group's child process: the module under test (loaded
// once), fresh instances of its effect, the strictness knobs, the group's random generator, and
// the line channel to the parent (Finding.h). A test is written as a TestCase (TestCase.h); the
// context also takes findings directly. Everything here runs on the group's main thread
// [UI thread] except Calling and the finding calls, which any thread may use [any thread].
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "tools/vsthost/host/PluginModule.h"
#include "tools/vsthost/validate/Finding.h"
#include "tools/vsthost/validate/PluginInstance.h"
#include "tools/vsthost/validate/SeededRandom.h"
#include "tools/vsthost/validate/Strictness.h"

class TestContext {
  public:
    static constexpr double kSampleRate = 44100.0;
    static constexpr int32_t kBlockSize = 512;

    // Findings go to out as lines, flushed at once (a crash must not lose them).
    TestContext(std::string modulePath, std::string group, const Strictness& level, uint64_t seed, FILE* out);

    const std::string& ModulePath() const { return modulePath; }
    const std::string& Group() const { return group; }
    const Strictness& Level() const { return level; }
    uint64_t Seed() const { return seed; }
    // The group's generator: the same choices for the same seed, whatever else runs.
    SeededRandom& Random() { return random; }

    // The module, loaded once for the group; null with the reason when it does not load.
    PluginModule* Module(std::string& error);
    // A fresh, opened (not resumed) instance; null with the reason.
    std::unique_ptr<PluginInstance> NewInstance(std::string& error, double sampleRate = kSampleRate,
                                                int32_t blockSize = kBlockSize);

    // The test about to run: a crash or hang from here on is charged to it.
    void Begin(const std::string& test);
    // The plug-in call (or the step of calls) a test is about to make; named with a hang and with
    // the findings that follow. Keep it coarse: each note is a line to the parent.
    void Calling(const std::string& call);
    const std::string& CurrentCall() const { return call; }
    // No call is running any more (the findings that follow name none).
    void ClearCall() { call.clear(); }

    void Pass(const std::string& test, const std::string& expectation);
    void Warn(const std::string& test, const std::string& why);
    void Fail(const std::string& test, const std::string& why);
    void Skip(const std::string& test, const std::string& why);
    // A failure from the strictness level strictFrom on, a warning below it.
    void Problem(const std::string& test, const std::string& why, int strictFrom);
    // Tells the parent the group finished (no crash, no hang).
    void End();

  private:
    void Emit(Verdict verdict, const std::string& test, const std::string& text);
    void Line(const std::string& line);

    std::string modulePath, group;
    const Strictness& level;
    uint64_t seed;
    SeededRandom random;
    FILE* out;
    std::mutex outLock;
    std::string call;
    std::unique_ptr<PluginModule> module;
    std::string moduleError;
    bool moduleTried = false;
};
