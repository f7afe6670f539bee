#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/vsthost/host/vst3/HostComponentHandler.h"
#include "tools/vsthost/host/vst3/HostEventList.h"
#include "tools/vsthost/host/vst3/HostParameterChanges.h"
#include "tools/vsthost/host/vst3/MemoryStream.h"
#include "tools/vsthost/host/vst3/Vst3Instance.h"
#include "tools/vsthost/host/vst3/Vst3Module.h"

// The built Vesmar.vst3 bundle, loaded once per test program through its entry points only, and
// one instance per test, made and started as a host does (stereo, 44.1 kHz, 512-frame blocks).
class Vst3Fixture : public ::testing::Test {
  protected:
    static constexpr double kSampleRate = 44100.0;
    static constexpr int32_t kBlockSize = 512;
    // The parameters' IDs, as the effect numbers them.
    enum Param : vst3::ParamID { kAttack, kHold, kDecay, kShape, kWidth, kOffset, kSide, kNoteOff, kSides };
    static constexpr vst3::ParamID kProgramId = 1000;

    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The effect's class ID from the factory.
    static std::string ClassId();
    // A new instance on this fixture's host objects (not started).
    std::unique_ptr<Vst3Instance> Create();
    // The component's state.
    std::vector<uint8_t> State(Vst3Instance& instance);
    // A parameter by its plain value, through the controller (as a host's generic editor does).
    void SetPlain(vst3::ParamID id, double plain);
    double Plain(vst3::ParamID id);

    // One block through process: constant inputs, the queued events and changes; outputs kept.
    void Process(int32_t frames, double left, double right, int32_t sampleSize = vst3::kSample32);

    static Vst3Module* module;
    HostApplication application;
    HostComponentHandler handler;
    std::unique_ptr<Vst3Instance> fx;
    vst3::IEditController* controller = nullptr;
    HostEventList eventsIn, eventsOut;
    HostParameterChanges changesIn, changesOut;
    std::vector<float> outL, outR;
    std::vector<double> outL64, outR64;
};
