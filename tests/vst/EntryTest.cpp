#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "effect/CreateEffect.h"
#include "tests/support/TestPlugin.h"
#include "vst/VstEntry.h"

namespace {
int programsToDeclare = 0;
bool failCreation = false;
}  // namespace

// The entry point's factory for this test: an effect with as many programs as the test says.
std::unique_ptr<IPluginCore> CreateEffect() noexcept {
    if (failCreation) return nullptr;
    TestPlugin::Options options;
    options.programs = programsToDeclare;
    return std::make_unique<TestPlugin>(options);
}

// A plug-in declaring no programs still shows one, "Default", captured from its values.
TEST(Entry, EnsuresOneProgram) {
    programsToDeclare = 0;
    AEffect* e = VstCreateEffect(&RecordingHost::Callback);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->numPrograms, 1);
    char name[64] = {};
    EXPECT_EQ(e->dispatcher(e, effGetProgramNameIndexed, 0, 0, name, 0), 1);
    EXPECT_STREQ(name, "Default");
    e->dispatcher(e, effClose, 0, 0, nullptr, 0);
}

// A failed creation answers null; concurrent creation gives independent records.
TEST(Entry, NullOnFailureAndIndependentRecords) {
    failCreation = true;
    EXPECT_EQ(VstCreateEffect(&RecordingHost::Callback), nullptr);
    failCreation = false;
    programsToDeclare = 4;
    std::vector<AEffect*> records(8, nullptr);
    std::vector<std::thread> threads;
    for (auto& r : records) threads.emplace_back([&r] { r = VstCreateEffect(&RecordingHost::Callback); });
    for (auto& t : threads) t.join();
    for (size_t i = 0; i < records.size(); ++i) {
        ASSERT_NE(records[i], nullptr);
        EXPECT_EQ(records[i]->numPrograms, 4);
        for (size_t j = 0; j < i; ++j) EXPECT_NE(records[i]->object, records[j]->object);
    }
    for (AEffect* e : records) e->dispatcher(e, effClose, 0, 0, nullptr, 0);
}
