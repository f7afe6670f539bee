#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "effect/PanRamp.h"
#include "tests/effect/EngineProbe.h"

namespace {

// The pan law written as plainly as possible, one sample at a time.
double PlainPan(const double* in0, const double* in1, double* out0, double* out1, int n, double position,
                double step, double sidesGain) {
    for (int i = 0; i < n; ++i) {
        position += step;
        const double a = std::fabs(position) * (sidesGain - 1.0) + 1.0;
        out0[i] = (1.0 - position) * in0[i] * a;
        out1[i] = (position + 1.0) * in1[i] * a;
    }
    return position;
}

std::vector<double> Signal(int n, double seed) {
    std::vector<double> v(static_cast<size_t>(n) + 1);
    for (size_t i = 0; i < v.size(); ++i) v[i] = std::sin(seed * static_cast<double>(i + 1)) * 0.9;
    return v;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// The unrolled loop matches the plain loop bit for bit at every tail length, with and without AVX,
// also in place and with crossed channels.
TEST(PanRampLoop, IdenticalToPlainLoop) {
    const double kGain = 1.9952623149688795;
    std::vector<int> lengths = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 13, 31, 255, 1023};
    for (int n : lengths) {
        const std::vector<double> in0 = Signal(n, 0.37), in1 = Signal(n, 1.91);
        std::vector<double> out0(in0.size(), 7.0), out1(in0.size(), 7.0), ref0 = out0, ref1 = out1;
        const double step = (0.8137 - -0.3) / (n > 0 ? n : 1);
        for (bool avx : {true, false}) {
            const double end =
                PanRamp::Run(in0.data(), in1.data(), out0.data(), out1.data(), n, -0.3, step, kGain, avx);
            const double refEnd =
                PlainPan(in0.data(), in1.data(), ref0.data(), ref1.data(), n, -0.3, step, kGain);
            EXPECT_EQ(refEnd, end) << n;
            EXPECT_TRUE(SameBits(ref0, out0)) << n << " avx " << avx;
            EXPECT_TRUE(SameBits(ref1, out1)) << n << " avx " << avx;
            EXPECT_EQ(7.0, out0[static_cast<size_t>(n)]) << "wrote past the block, n = " << n;
        }

        std::vector<double> place0 = in0, place1 = in1;
        PanRamp::Run(place0.data(), place1.data(), place0.data(), place1.data(), n, -0.3, step, kGain);
        place0[static_cast<size_t>(n)] = place1[static_cast<size_t>(n)] = 7.0;
        EXPECT_TRUE(SameBits(ref0, place0)) << "in place, n = " << n;
        EXPECT_TRUE(SameBits(ref1, place1)) << "in place, n = " << n;

        // Crossed channels: each output overwrites the other channel's input, which the plain loop
        // reads after that write.
        std::vector<double> a = in0, b = in1, refA = in0, refB = in1;
        PanRamp::Run(a.data(), b.data(), b.data(), a.data(), n, -0.3, step, kGain);
        PlainPan(refA.data(), refB.data(), refB.data(), refA.data(), n, -0.3, step, kGain);
        EXPECT_TRUE(SameBits(refA, a)) << "crossed, n = " << n;
        EXPECT_TRUE(SameBits(refB, b)) << "crossed, n = " << n;
    }
}

class Pan : public ::testing::Test {
  protected:
    void SetUp() override {
        effect.SetSampleRate(8000.0);
        effect.Open();
        effect.Block(0);
        host.calls.clear();
    }
    FakeHost host;
    EngineProbe effect;
};

// Fully right with 0 dB: the left output is silent and the right carries twice the input.
TEST_F(Pan, FullRightPanLaw) {
    effect.SetPlain(VSTCLASS::kPanWidth, 100);
    effect.SetPlain(VSTCLASS::kSidesVolAmplify, 0);
    effect.SetPlain(VSTCLASS::kPanSide, kPanSideRight);
    effect.SetPlain(VSTCLASS::kAttack, 0);
    effect.NoteOn();
    effect.Block(64);  // ramps from the centre to +1
    EXPECT_EQ(1.0, effect.panPosition);
    effect.Ensure(64);
    for (size_t i = 0; i < 64; ++i) {
        effect.in0[i] = 0.25 + i;
        effect.in1[i] = -0.5 * i;
    }
    effect.Block(64);
    for (size_t i = 0; i < 64; ++i) {
        EXPECT_EQ(0.0, effect.out0[i]) << i;
        EXPECT_EQ(2.0 * effect.in1[i], effect.out1[i]) << i;
    }
}

// A block ramps from the last target to the new one with the plain loop's arithmetic, and lands
// exactly on the target whatever the accumulated sum.
TEST_F(Pan, BlockRampsToTarget) {
    effect.SetPlain(VSTCLASS::kShapeEnv, 1);
    effect.NoteOn();
    effect.Block(100);
    const int n = 333;
    effect.Ensure(n);
    for (size_t i = 0; i < n; ++i) {
        effect.in0[i] = std::sin(0.01 * i);
        effect.in1[i] = std::cos(0.02 * i);
    }
    const double start = effect.panPosition;
    effect.Block(n);
    const double target = effect.panPosition;
    EXPECT_EQ(static_cast<double>(effect.panDirection) * static_cast<double>(effect.panWidth) *
                      effect.envelopeLevel +
                  static_cast<double>(effect.panOffset),
              target);
    std::vector<double> ref0(n), ref1(n);
    PlainPan(effect.in0.data(), effect.in1.data(), ref0.data(), ref1.data(), n, start, (target - start) / n,
             effect.sidesGain);
    EXPECT_EQ(0, std::memcmp(ref0.data(), effect.out0.data(), n * sizeof(double)));
    EXPECT_EQ(0, std::memcmp(ref1.data(), effect.out1.data(), n * sizeof(double)));
}

// Width + |offset| never exceeds 100 %: the offset is pulled to the centre inside a host edit
// bracket that also reports the new value, whichever of the two was changed.
TEST_F(Pan, WidthOffsetRule) {
    effect.SetPlain(VSTCLASS::kPanWidth, 80);
    EXPECT_TRUE(host.calls.empty());
    effect.SetPlain(VSTCLASS::kPanOffset, 50);
    EXPECT_EQ(20.0, effect.Plain(VSTCLASS::kPanOffset));
    EXPECT_EQ(20 * 0.01f, effect.panOffset);  // fractions are whole percent times 0.01f
    ASSERT_EQ(3u, host.calls.size());
    EXPECT_EQ(FakeHost::Kind::BeginEdit, host.calls[0].kind);
    EXPECT_EQ(FakeHost::Kind::Automate, host.calls[1].kind);
    EXPECT_EQ(0.6f, host.calls[1].value);
    EXPECT_EQ(FakeHost::Kind::EndEdit, host.calls[2].kind);
    for (const FakeHost::Call& call : host.calls) EXPECT_EQ(VSTCLASS::kPanOffset, call.index);

    host.calls.clear();
    effect.SetPlain(VSTCLASS::kPanWidth, 0);
    effect.SetPlain(VSTCLASS::kPanOffset, -50);
    effect.SetPlain(VSTCLASS::kPanWidth, 80);
    EXPECT_EQ(-20.0, effect.Plain(VSTCLASS::kPanOffset));
    EXPECT_EQ(-20 * 0.01f, effect.panOffset);
    EXPECT_EQ(80 * 0.01f, effect.panWidth);
    ASSERT_EQ(3u, host.calls.size());
    EXPECT_EQ(0.4f, host.calls[1].value);

    // Exactly 100 % is allowed.
    host.calls.clear();
    effect.SetPlain(VSTCLASS::kPanOffset, 20);
    EXPECT_EQ(20.0, effect.Plain(VSTCLASS::kPanOffset));
    EXPECT_TRUE(host.calls.empty());
}

// Every whole-percent pair obeys the integer rule exactly.
TEST_F(Pan, WidthOffsetRuleForAllPairs) {
    for (int w = 0; w <= 100; w += 3) {
        for (int o = -100; o <= 100; ++o) {
            effect.SetPlain(VSTCLASS::kPanWidth, 0);
            effect.SetPlain(VSTCLASS::kPanOffset, o);
            effect.SetPlain(VSTCLASS::kPanWidth, w);
            const int expected = w + std::abs(o) > 100 ? (o > 0 ? 100 - w : w - 100) : o;
            ASSERT_EQ(expected, effect.Plain(VSTCLASS::kPanOffset)) << w << " " << o;
            ASSERT_EQ(static_cast<float>(expected) * 0.01f, effect.panOffset) << w << " " << o;
        }
    }
}

// Loading a program checks its own width against its own offset, not the previous program's.
TEST_F(Pan, ProgramChangeKeepsTheLoadedOffset) {
    ASSERT_TRUE(effect.SelectProgram(4));  // Pan Width 50, Pan Offset 50
    host.calls.clear();
    ASSERT_TRUE(effect.SelectProgram(5));  // Pan Width 80, Pan Offset 0
    EXPECT_EQ(0.0, effect.Plain(VSTCLASS::kPanOffset));
    EXPECT_EQ(0.0f, effect.panOffset);
    EXPECT_TRUE(host.calls.empty());
}

}  // namespace
