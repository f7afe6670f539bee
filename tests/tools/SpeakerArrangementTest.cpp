#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "tools/vsthost/render/OfflineRenderer.h"
#include "tools/vsthost/host/PluginSession.h"
#include "tools/vsthost/host/SpeakerArrangement.h"
#include "tools/vsthost/render/TestSignal.h"

namespace {

// Speaker i as a plug-in reads it: through numChannels, past the 8 the record declares.
VstSpeakerProperties SpeakerAt(SpeakerArrangementRecord& record, int32_t i) {
    const size_t at =
        offsetof(VstSpeakerArrangement, speakers) + static_cast<size_t>(i) * sizeof(VstSpeakerProperties);
    EXPECT_LE(at + sizeof(VstSpeakerProperties), record.Bytes()) << i;
    VstSpeakerProperties speaker;
    std::memcpy(&speaker, reinterpret_cast<const unsigned char*>(record.Get()) + at, sizeof speaker);
    return speaker;
}

class Negotiation : public ::testing::Test {
  protected:
    void Start(const char* module) {
        std::string error;
        ASSERT_TRUE(session.Start(module, 44100, 64, error)) << error;
    }
    PluginSession session;
};

}  // namespace

// The record offered: the standard type for the count, and memory for every speaker a plug-in may
// read, whether it trusts numChannels or the 8 declared entries (ASan watches the reads).
TEST(SpeakerArrangementRecordTest, TypesAndSpeakersForEveryCount) {
    SpeakerArrangementRecord none(0), mono(1), stereo(2), twelve(12), huge(1 << 20);
    EXPECT_EQ(none.Get()->type, kSpeakerArrEmpty);
    EXPECT_EQ(none.Get()->numChannels, 0);
    EXPECT_EQ(SpeakerAt(none, 7).type, 0);  // zeroed, but there

    EXPECT_EQ(mono.Get()->type, kSpeakerArrMono);
    EXPECT_EQ(SpeakerAt(mono, 0).type, kSpeakerM);
    EXPECT_STREQ(SpeakerAt(mono, 0).name, "M");

    EXPECT_EQ(stereo.Get()->type, kSpeakerArrStereo);
    EXPECT_EQ(SpeakerAt(stereo, 0).type, kSpeakerL);
    EXPECT_EQ(SpeakerAt(stereo, 1).type, kSpeakerR);
    EXPECT_STREQ(SpeakerAt(stereo, 1).name, "R");

    EXPECT_EQ(twelve.Get()->type, kSpeakerArrUserDefined);
    EXPECT_EQ(twelve.Get()->numChannels, 12);
    EXPECT_EQ(SpeakerAt(twelve, 11).type, kSpeakerUndefined);
    EXPECT_STREQ(SpeakerAt(twelve, 11).name, "12");

    EXPECT_EQ(huge.Channels(), PluginModule::kMaxChannels);
    EXPECT_EQ(SpeakerAt(huge, PluginModule::kMaxChannels - 1).type, kSpeakerUndefined);
    EXPECT_EQ(SpeakerArrangementRecord(-3).Get()->numChannels, 0);

    EXPECT_EQ(DescribeSpeakerChannels(0), "empty");
    EXPECT_EQ(DescribeSpeakerChannels(2), "stereo");
    EXPECT_EQ(DescribeSpeakerChannels(6), "6-channel");
}

// A plug-in that adopts an arrangement changes its counts and says so; one that refuses keeps
// them; a plug-in without support answers 0; a resumed plug-in is not asked at all.
TEST_F(Negotiation, AcceptedArrangementChangesTheCounts) {
    Start(TEST_SPEAKERS_MODULE);
    HostedEffect& fx = session.Effect();
    ASSERT_EQ(fx.NumInputs(), 1);
    HostedEffect::ArrangementOffer offer = fx.OfferSpeakerArrangement(2, 1);
    EXPECT_TRUE(offer.sent);
    EXPECT_TRUE(offer.accepted);
    EXPECT_EQ(fx.NumInputs(), 2);
    EXPECT_EQ(fx.NumOutputs(), 1);
    EXPECT_EQ(session.Host().Counts().ioChanged, 1);

    // 12 channels: every speaker is read before the plug-in refuses.
    offer = fx.OfferSpeakerArrangement(12, 2);
    EXPECT_EQ(offer.inputs, 12);
    EXPECT_FALSE(offer.accepted);
    EXPECT_EQ(fx.NumInputs(), 2);
    EXPECT_EQ(fx.NumOutputs(), 1);

    fx.Resume();
    offer = fx.OfferSpeakerArrangement(1, 1);
    EXPECT_FALSE(offer.sent);
    EXPECT_EQ(fx.NumInputs(), 2);
    fx.Suspend();
}

TEST_F(Negotiation, PluginWithoutSupportRefuses) {
    Start(TEST_GAIN_MODULE);
    HostedEffect::ArrangementOffer offer = session.Effect().OfferSpeakerArrangement(1, 2);
    EXPECT_TRUE(offer.sent);
    EXPECT_FALSE(offer.accepted);
    EXPECT_EQ(session.Effect().NumInputs(), 2);
    EXPECT_TRUE(session.Effect().ChannelCountsPlausible());
}

// Rendering follows the counts the plug-in has after the negotiation: a mono plug-in grown to
// stereo inputs gets both channels of a stereo input (its first output is the first input).
TEST_F(Negotiation, RenderingUsesTheNewCounts) {
    Start(TEST_SPEAKERS_MODULE);
    HostedEffect& fx = session.Effect();
    ASSERT_TRUE(fx.OfferSpeakerArrangement(2, 2).accepted);
    AudioData input = MakeTestSignal(44100, 300);
    RenderSettings settings;
    settings.blockSize = 64;
    settings.frames = 300;
    fx.Resume();
    AudioData out = OfflineRenderer(fx, settings).Render(input, {});
    fx.Suspend();
    ASSERT_EQ(out.ChannelCount(), 2);
    for (size_t i = 0; i < 300; ++i) {
        ASSERT_EQ(out.channels[0][i], input.channels[0][i]) << i;
        ASSERT_EQ(out.channels[1][i], input.channels[1][i]) << i;
    }
}
