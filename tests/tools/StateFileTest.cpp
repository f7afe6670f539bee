#include <gtest/gtest.h>

#include "tools/vsthost/formats/FileBytes.h"
#include "tools/vsthost/formats/FxpFile.h"
#include "tools/vsthost/host/PluginSession.h"
#include "tools/vsthost/formats/StateFile.h"

namespace {

std::string Scratch(const char* name) {
    return std::string(TEST_SCRATCH_DIR) + "/" + name;
}

struct Session {
    PluginSession session;
    explicit Session(const char* module) {
        std::string error;
        EXPECT_TRUE(session.Start(module, 44100.0, 512, error)) << error;
    }
    HostedEffect& Fx() { return session.Effect(); }
};

}  // namespace

// State saved to a preset file comes back in a fresh instance, for chunk plug-ins (FPCh/FBCh)
// and parameter-list plug-ins (FxCk/FxBk).
TEST(StateFileTest, RoundTripsProgramsAndBanksThroughFreshInstances) {
    for (const char* module : {TEST_GAIN_MODULE, TEST_LATENCY_MODULE}) {
        for (const char* name : {"state.fxp", "state.fxb", "state.chunk"}) {
            bool bank = StateFormatForPath(name) == StateFormat::Fxb;
            {
                Session source(module);
                source.Fx().SetProgram(1);
                source.Fx().SetParameter(0, 0.125f);
                StateResult saved = SaveStateFile(source.Fx(), Scratch(name), bank);
                ASSERT_TRUE(saved.ok) << saved.error;
            }
            Session target(module);
            StateResult loaded = LoadStateFile(target.Fx(), Scratch(name), bank);
            ASSERT_TRUE(loaded.ok) << module << " " << name << ": " << loaded.error;
            if (bank) {
                EXPECT_EQ(target.Fx().Program(), 1) << module << " " << name;
            }
            // A program goes into the current program, a bank restores program 1 as current.
            EXPECT_EQ(target.Fx().GetParameter(0), 0.125f) << module << " " << name;
            EXPECT_EQ(target.Fx().GetParameter(1), 0.25f) << module << " " << name;
        }
    }
}

// A preset made for another plug-in, a cut file and a preset extension on raw bytes are refused
// as input errors, and the plug-in's state is left alone.
TEST(StateFileTest, RefusesWrongIdAndTruncatedFiles) {
    FxpFile other;
    other.fxID = 0x41424344;
    other.params = {0.0f, 0.0f};
    std::string error;
    ASSERT_TRUE(WriteFileBytes(Scratch("other.fxp"), other.Serialize(), error));
    FxpFile ours = other;
    ours.fxID = 0x5473476E;
    std::vector<uint8_t> cut = ours.Serialize();
    cut.resize(cut.size() - 3);
    ASSERT_TRUE(WriteFileBytes(Scratch("cut.fxp"), cut, error));
    ASSERT_TRUE(WriteFileBytes(Scratch("raw.fxp"), {1, 2, 3, 4}, error));

    Session s(TEST_LATENCY_MODULE);
    struct Case {
        const char* file;
        const char* reason;
    } cases[] = {{"other.fxp", "for the plug-in with ID 1094861636"},
                 {"cut.fxp", "truncated program"},
                 {"raw.fxp", "not a VST preset"}};
    for (const Case& c : cases) {
        StateResult result = LoadStateFile(s.Fx(), Scratch(c.file), false);
        EXPECT_FALSE(result.ok) << c.file;
        EXPECT_EQ(result.exitCode, 3) << c.file;
        EXPECT_NE(result.error.find(c.reason), std::string::npos) << result.error;
        EXPECT_EQ(s.Fx().GetParameter(0), 1.0f) << c.file;
    }
}
