#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/TestPlugin.h"

// The record the host sees right after construction: identity, counts, flags and callbacks.
TEST(EffectRecord, CarriesIdentityCountsAndCallbacks) {
    PluginUnderTest t;
    const AEffect& e = *t.effect;
    EXPECT_EQ(e.magic, kEffectMagic);
    EXPECT_EQ(e.numParams, 4);
    EXPECT_EQ(e.numPrograms, 4);
    EXPECT_EQ(e.numInputs, 2);
    EXPECT_EQ(e.numOutputs, 2);
    EXPECT_EQ(e.flags, effFlagsCanReplacing | effFlagsCanDoubleReplacing | effFlagsCanMono);
    EXPECT_EQ(e.version, 10203);
    EXPECT_EQ(e.uniqueID, 0x54657374);
    EXPECT_EQ(e.initialDelay, 0);
    EXPECT_EQ(e.ioRatio, 1.0f);
    EXPECT_EQ(e.object, t.adapter);
    EXPECT_NE(e.dispatcher, nullptr);
    EXPECT_NE(e.process, nullptr);
    EXPECT_NE(e.processReplacing, nullptr);
    EXPECT_NE(e.processDoubleReplacing, nullptr);
    EXPECT_NE(e.setParameter, nullptr);
    EXPECT_NE(e.getParameter, nullptr);
    EXPECT_EQ(e.resvd1, 0);
    EXPECT_EQ(e.realQualities, 0);
    const char zeros[sizeof e.future] = {};
    EXPECT_EQ(std::memcmp(e.future, zeros, sizeof zeros), 0);
    EXPECT_EQ(t.plugin->BlockSize(), 1024);
}

// Flags follow the channel configurations, the chunk option and the instrument option.
TEST(EffectRecord, FlagsFollowConfiguration) {
    PluginUnderTest stereoOnly({.channels = "2-2"});
    EXPECT_EQ(stereoOnly.effect->flags & effFlagsCanMono, 0);
    PluginUnderTest monoOut({.channels = "1-2"});
    EXPECT_NE(monoOut.effect->flags & effFlagsCanMono, 0);
    PluginUnderTest synth({.stateChunks = true, .isInstrument = true});
    EXPECT_NE(synth.effect->flags & effFlagsProgramChunks, 0);
    EXPECT_NE(synth.effect->flags & effFlagsIsSynth, 0);
    EXPECT_EQ(synth.Dispatch(effGetPlugCategory), kPlugCategSynth);
    EXPECT_EQ(stereoOnly.Dispatch(effGetPlugCategory), kPlugCategEffect);
}

// Speaker arrangements are typed by their channel count and handed out by address.
TEST(EffectRecord, SpeakerArrangementsByChannelCount) {
    PluginUnderTest t({.channels = "3-1"});
    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    EXPECT_EQ(t.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out), 1);
    ASSERT_NE(in, nullptr);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(in->type, kSpeakerArrUserDefined);
    EXPECT_EQ(in->numChannels, 3);
    EXPECT_EQ(out->type, kSpeakerArrMono);
    EXPECT_EQ(out->numChannels, 1);
    EXPECT_EQ(t.Dispatch(effGetSpeakerArrangement), 1);  // null targets are skipped
    PluginUnderTest none({.channels = "0-2"});
    EXPECT_EQ(none.adapter->InputArrangement().type, kSpeakerArrEmpty);
    EXPECT_EQ(none.adapter->OutputArrangement().type, kSpeakerArrStereo);
}

// Latency changes reach the record.
TEST(EffectRecord, LatencyFollowsSetLatency) {
    PluginUnderTest t;
    t.plugin->SetLatency(64);
    EXPECT_EQ(t.effect->initialDelay, 64);
    EXPECT_EQ(t.plugin->Latency(), 64);
}

// effClose destroys the object; several instances live independently.
TEST(EffectRecord, CloseDestroysAndInstancesAreIndependent) {
    const int before = TestPlugin::destroyed;
    PluginUnderTest a;
    PluginUnderTest b;
    EXPECT_NE(a.effect, b.effect);
    a.effect->setParameter(a.effect, 0, 1.0f);
    EXPECT_EQ(b.effect->getParameter(b.effect, 0), 0.0f);
    a.Close();
    EXPECT_EQ(TestPlugin::destroyed, before + 1);
    EXPECT_EQ(b.Dispatch(effGetVendorVersion), 10203);
}

// A record without an object is answered neutrally by every callback.
TEST(EffectRecord, RecordWithoutObjectIsHarmless) {
    PluginUnderTest t;
    AEffect copy = *t.effect;
    copy.object = nullptr;
    EXPECT_EQ(copy.dispatcher(&copy, effGetVendorVersion, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(copy.dispatcher(&copy, effClose, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(copy.getParameter(&copy, 0), 0.0f);
    copy.setParameter(&copy, 0, 1.0f);
    float block[4] = {1, 2, 3, 4};
    float* io[2] = {block, block};
    copy.processReplacing(&copy, io, io, 4);
    EXPECT_EQ(block[0], 1.0f);
    EXPECT_EQ(t.effect->dispatcher(nullptr, effGetVendorVersion, 0, 0, nullptr, 0), 0);
}
