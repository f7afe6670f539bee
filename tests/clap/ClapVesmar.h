#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/vsthost/host/clap/ClapAudioBlock.h"
#include "tools/vsthost/host/clap/ClapInputStream.h"
#include "tools/vsthost/host/clap/ClapMainLoop.h"
#include "tools/vsthost/host/clap/ClapOutputStream.h"

// The built Vesmar.clap, loaded once per test program through clap_entry only, and one freshly
// created and initialised stereo instance per test on the strict host, which must have seen no
// breach of the interface's rules when the test ends.
class ClapVesmar : public ::testing::Test {
  protected:
    static constexpr const char* kStereoId = "audio.darvo.vesmar";
    static constexpr const char* kMonoId = "audio.darvo.vesmar.mono";
    enum Param : clap_id { kAttack, kHold, kDecay, kShape, kWidth, kOffset, kSide, kNoteOff, kSides };

    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Another instance of the given plug-in on the same host rules, initialised.
    std::unique_ptr<ClapPlugin> Create(const char* id);
    const clap_plugin_params& Params(ClapPlugin& p) {
        return *p.Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
    }
    double Value(clap_id id, ClapPlugin* p = nullptr);
    std::string Text(clap_id id, double value);
    // The state saved through a stream taking `piece` bytes per write; empty when save failed.
    std::vector<uint8_t> Save(ClapPlugin& p, uint64_t piece = 17);
    bool Load(ClapPlugin& p, std::vector<uint8_t> bytes, uint64_t piece = 17,
              uint64_t failAt = ClapInputStream::kNever);
    // Sets a value through params.flush (inactive: on the main thread).
    void FlushValue(ClapPlugin& p, clap_id id, double value);
    // One process call of frames over constant inputs; the outputs are left in block.
    int32_t Run(ClapPlugin& p, ClapAudioBlock& block, uint32_t frames, ClapInputEvents& in,
                ClapOutputEvents& out);

    static ClapModule* module;
    ClapRuleBook rules;
    std::unique_ptr<ClapPlugin> fx;
};
