#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/vsthost/host/HostCallback.h"
#include "tools/vsthost/host/HostedEffect.h"
#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/host/PluginModule.h"
#include "tools/vsthost/host/VstEventList.h"

// The built Vesmar module, loaded once per test program through its exported entry point only,
// and one freshly created, opened and resumed instance per test.
class VesmarModule : public ::testing::Test {
  protected:
    static constexpr double kSampleRate = 44100.0;
    static constexpr int32_t kBlockSize = 512;

    // Parameter indices and ranges of the effect, as stored states and hosts address them.
    enum Param { kAttack, kHold, kDecay, kShape, kWidth, kOffset, kSide, kNoteOff, kSides };

    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Creates another instance on the given host (not opened).
    std::unique_ptr<HostedEffect> Create(HostCallback& host);
    // Sets a parameter by its plain value through setParameter.
    void SetPlain(int index, double plain);
    double Plain(int index);
    // One note message through effProcessEvents.
    void SendMidi(uint8_t status, uint8_t data1, uint8_t data2, int32_t delta = 0);
    // processReplacing over a stereo block of constant inputs; returns the outputs.
    void Replacing(int frames, float left, float right, std::vector<float>& outL, std::vector<float>& outR);

    static PluginModule* module;
    HostCallback host;
    std::unique_ptr<HostedEffect> fx;
    AEffect* e = nullptr;
};
