#include <gtest/gtest.h>

#include <cmath>

#include "effect/EnvelopeCurve.h"
#include "tests/effect/EngineProbe.h"

namespace {

// An opened effect at 8000 Hz, where whole milliseconds give whole sample counts (125 ms = 1000).
class Envelope : public ::testing::Test {
  protected:
    void SetUp() override {
        effect.SetSampleRate(8000.0);
        effect.Open();
        effect.Block(0);  // the first block converts the times at the core's rate
    }
    void Times(int attackMs, int holdMs, int decayMs) {
        effect.SetPlain(VSTCLASS::kAttack, attackMs);
        effect.SetPlain(VSTCLASS::kHold, holdMs);
        effect.SetPlain(VSTCLASS::kDecay, decayMs);
    }
    int MidiSent() const {
        int count = 0;
        for (const FakeHost::Call& call : host.calls) count += call.kind == FakeHost::Kind::Midi;
        return count;
    }

    FakeHost host;
    EngineProbe effect;
};

// The envelope's block-stepped levels: the Linear attack rises in even steps, then holds at 1.
TEST_F(Envelope, LinearAttackRisesPerBlockThenHolds) {
    Times(125, 100, 100);
    ASSERT_EQ(1000, effect.attackLength);
    effect.NoteOn();
    const double levels[] = {0.0, 0.25, 0.5, 0.75, 1.0, 1.0};
    for (double level : levels) {
        effect.Block(250);
        EXPECT_EQ(level, effect.envelopeLevel);
    }
    EXPECT_EQ(0, effect.attackLeft);
    EXPECT_EQ(800 - 2 * 250, effect.holdLeft);
}

// A full run: decay levels fall to zero and a block overshooting the decay returns to idle.
TEST_F(Envelope, DecayEndsIdle) {
    Times(0, 0, 125);
    effect.NoteOn();
    effect.Block(400);
    EXPECT_EQ(static_cast<double>(600.0f / 1000.0f), effect.envelopeLevel);
    effect.Block(400);
    EXPECT_EQ(static_cast<double>(200.0f / 1000.0f), effect.envelopeLevel);
    effect.Block(400);  // decayLeft -200: the level follows the line below zero for one block
    EXPECT_EQ(static_cast<double>(-200.0f / 1000.0f), effect.envelopeLevel);
    effect.Block(400);
    EXPECT_EQ(0.0, effect.envelopeLevel);
    EXPECT_EQ(0, effect.decayLeft);
    effect.Block(400);
    EXPECT_EQ(effect.panOffset, effect.panPosition);
}

// Alternate pans right, left, right from construction; Left and Right always pick their side.
TEST_F(Envelope, SideSelection) {
    effect.SetPlain(VSTCLASS::kNoteOff, kNoteOffEnvOff);  // every note restarts
    const int expected[] = {1, -1, 1, -1};
    for (int direction : expected) {
        effect.NoteOn();
        EXPECT_EQ(direction, effect.panDirection);
    }
    effect.SetPlain(VSTCLASS::kPanSide, kPanSideLeft);
    effect.NoteOn();
    effect.NoteOn();
    EXPECT_EQ(-1, effect.panDirection);
    effect.SetPlain(VSTCLASS::kPanSide, kPanSideRight);
    effect.NoteOn();
    effect.NoteOn();
    EXPECT_EQ(1, effect.panDirection);
}

// A note on with velocity 0 is a note off, in every mode.
TEST_F(Envelope, VelocityZeroNoteOnReleases) {
    effect.SetPlain(VSTCLASS::kNoteOff, kNoteOffEnvOff);
    effect.NoteOn();
    effect.Block(64);
    effect.Midi(0x93, 60, 0);
    EXPECT_EQ(0.0, effect.envelopeLevel);
    EXPECT_EQ(0, effect.attackLeft);
    EXPECT_EQ(0, effect.holdLeft);
    EXPECT_EQ(0, effect.decayLeft);
    EXPECT_EQ(0u, effect.attackSpan);
    EXPECT_EQ(0u, effect.decaySpan);
}

// While a decay is pending, ENV Decay and Follow ENV ignore new notes (still forwarding them); ENV Off
// restarts the envelope from level 0.
TEST_F(Envelope, IgnoreRule) {
    for (int mode : {kNoteOffEnvDecay, kNoteOffFollowEnv}) {
        effect.SetPlain(VSTCLASS::kNoteOff, mode);
        effect.SetPlain(VSTCLASS::kNoteOff, kNoteOffEnvOff);
        effect.NoteOff();  // idle
        effect.SetPlain(VSTCLASS::kNoteOff, mode);
        effect.NoteOn();
        effect.Block(100);
        const int direction = effect.panDirection;
        const int sent = MidiSent();
        effect.NoteOn();
        EXPECT_EQ(4000 - 100, effect.attackLeft) << mode;
        EXPECT_EQ(direction, effect.panDirection) << mode;
        EXPECT_EQ(sent + 1, MidiSent()) << mode;
    }
    effect.SetPlain(VSTCLASS::kNoteOff, kNoteOffEnvOff);
    effect.Block(100);
    effect.NoteOn();
    EXPECT_EQ(4000, effect.attackLeft);
    EXPECT_EQ(0.0, effect.envelopeLevel);
}

// ENV Decay: a release during hold starts the decay at its beginning; during the attack it resumes
// the decay where its linear level equals the current level.
TEST_F(Envelope, EnvDecayRelease) {
    Times(125, 100, 125);
    effect.NoteOn();
    for (int i = 0; i < 5; ++i) effect.Block(250);  // into the hold
    effect.NoteOff();
    EXPECT_EQ(0, effect.holdLeft);
    EXPECT_EQ(1000, effect.decayLeft);
    effect.Block(250);
    EXPECT_EQ(static_cast<double>(750.0f / 1000.0f), effect.envelopeLevel);

    effect.Block(1000);  // overshoot: idle again
    effect.Block(1);
    effect.NoteOn();
    for (int i = 0; i < 3; ++i) effect.Block(250);
    ASSERT_EQ(0.5, effect.envelopeLevel);
    effect.NoteOff();
    EXPECT_EQ(0, effect.attackLeft);
    EXPECT_EQ(500, effect.decayLeft);
    effect.Block(10);
    EXPECT_EQ(static_cast<double>(490.0f / 1000.0f), effect.envelopeLevel);

    effect.NoteOff();  // a second release during a running decay changes nothing
    EXPECT_EQ(490, effect.decayLeft);
}

// A sample-rate change re-converts the lengths only; the running envelope keeps its latched spans.
TEST_F(Envelope, SampleRateChangeKeepsRunningEnvelope) {
    effect.NoteOn();  // 500 / 200 / 800 ms at 8000 Hz
    effect.Block(100);
    effect.SetSampleRate(44100.0);
    effect.Reset();
    EXPECT_EQ(44100.0, effect.engineSampleRate);
    EXPECT_EQ(22050, effect.attackLength);
    EXPECT_EQ(8820, effect.holdLength);
    EXPECT_EQ(35280, effect.decayLength);
    EXPECT_EQ(4000u, effect.attackSpan);
    EXPECT_EQ(3900, effect.attackLeft);
    EXPECT_EQ(1600, effect.holdLeft);
    EXPECT_EQ(6400u, effect.decaySpan);
}

// Milliseconds round half away from zero: 10 ms at 22050 Hz is 220.5 samples.
TEST_F(Envelope, TimesRoundHalfAwayFromZero) {
    effect.SetSampleRate(22050.0);  // 1 ms = 22.05 samples; 10 ms = 220.5 -> 221
    effect.Reset();
    effect.SetPlain(VSTCLASS::kAttack, 10);
    EXPECT_EQ(221, effect.attackLength);
    effect.SetSampleRate(1e30);  // absurd rates saturate instead of overflowing
    effect.Reset();
    EXPECT_EQ(INT32_MAX, effect.attackLength);
}

// Sides Vol Amplify is a decibel gain; 0 dB is exactly unity so the pan law has no boost.
TEST_F(Envelope, SidesGain) {
    EXPECT_EQ(std::exp(6 * 0.11512925464970228), effect.sidesGain);
    EXPECT_LT(effect.sidesGain, 2.0);
    EXPECT_GT(effect.sidesGain, 1.99);
    effect.SetPlain(VSTCLASS::kSidesVolAmplify, 0);
    EXPECT_EQ(1.0, effect.sidesGain);
}

// Before the first block (or a Reset with a new rate) the lengths are 0 and a note stays idle.
TEST(EnvelopeStart, LengthsAreZeroUntilTheFirstBlock) {
    FakeHost host;
    EngineProbe effect;
    effect.Open();
    EXPECT_EQ(0, effect.attackLength);
    EXPECT_EQ(0, effect.holdLength);
    EXPECT_EQ(0, effect.decayLength);
    effect.NoteOn();
    effect.Block(32);
    EXPECT_EQ(0.0, effect.envelopeLevel);
    EXPECT_EQ(0.0, effect.panPosition);
    EXPECT_EQ(22050, effect.attackLength);  // the core's default 44100 Hz
}

// An empty block advances nothing but still lands the pan on its target.
TEST_F(Envelope, ZeroFrameBlock) {
    effect.SetPlain(VSTCLASS::kPanWidth, 100);
    Times(0, 100, 100);
    effect.NoteOn();
    effect.Block(0);
    EXPECT_EQ(800, effect.holdLeft);
    EXPECT_EQ(1.0, effect.panPosition);
    effect.Block(-5);
    EXPECT_EQ(800, effect.holdLeft);
}

// The five curves: all start at 0 in the attack and at 1 in the decay; "fast" lies above the line
// in the attack and below it in the decay, "slow" the other way round; unknown shapes keep the level.
TEST(EnvelopeCurveForms, ShapesRunTheirWay) {
    for (int shape = 0; shape <= 4; ++shape) {
        EXPECT_EQ(0.0, EnvelopeCurve::Attack(shape, 1000, 1000)) << shape;
        double level = -1.0;
        ASSERT_TRUE(EnvelopeCurve::Decay(shape, 1000, 1000, level));
        EXPECT_NEAR(1.0, level, 1e-15) << shape;
    }
    const double line = 0.25;
    EXPECT_EQ(line, EnvelopeCurve::Attack(kShapeLinear, 750, 1000));
    for (int shape : {1, 2}) EXPECT_GT(EnvelopeCurve::Attack(shape, 750, 1000), line) << shape;
    for (int shape : {3, 4}) EXPECT_LT(EnvelopeCurve::Attack(shape, 750, 1000), line) << shape;
    EXPECT_EQ(std::sin(0.25 * EnvelopeCurve::kHalfPi), EnvelopeCurve::Attack(1, 750, 1000));
    EXPECT_EQ(0.5 - std::sin(0.25 * EnvelopeCurve::kHalfPi), EnvelopeCurve::Attack(3, 750, 1000));

    double level = 0.0;
    for (int shape : {1, 3}) {
        EnvelopeCurve::Decay(shape, 250, 1000, level);
        EXPECT_GT(level, line) << shape;
        EXPECT_EQ(std::cos(0.75 * EnvelopeCurve::kHalfPi), level);
    }
    for (int shape : {2, 4}) {
        EnvelopeCurve::Decay(shape, 250, 1000, level);
        EXPECT_LT(level, line) << shape;
        EXPECT_EQ(0.5 - std::cos(0.75 * EnvelopeCurve::kHalfPi), level);
    }
    level = 0.375;
    EXPECT_FALSE(EnvelopeCurve::Decay(5, 250, 1000, level));
    EXPECT_EQ(0.375, level);
}

// Every MIDI message goes back to the host unchanged, notes and others alike.
TEST_F(Envelope, ForwardsEveryMessage) {
    host.calls.clear();
    effect.Midi(0xB2, 7, 99);
    effect.NoteOn(0);
    effect.Midi(0xF8, 0, 0);
    ASSERT_EQ(3, MidiSent());
    EXPECT_EQ(0xB2, host.calls[0].midi[0]);
    EXPECT_EQ(7, host.calls[0].midi[1]);
    EXPECT_EQ(99, host.calls[0].midi[2]);
    EXPECT_EQ(0x90, host.calls[1].midi[0]);
    EXPECT_EQ(0xF8, host.calls[2].midi[0]);
}

}  // namespace
