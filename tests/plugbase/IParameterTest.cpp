#include "plugbase/IParameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::string Format(const IParameter& p, double v, bool isNormalized = false) {
    char text[64];
    p.FormatForHost(v, isNormalized, text, sizeof text);
    return text;
}

// Protects the initialisers: kind decided once, range widened to min + step, precision from step.
TEST(ParameterDefine, FirstInitialiserDecidesTheKind) {
    IParameter p;
    p.DefineInteger("Count", 3, 0, 22, "n");
    p.DefineChoice("Mode", 1, 4, "m");
    EXPECT_EQ(p.Kind(), ParameterKind::Integer);
    EXPECT_STREQ(p.Name(), "Mode");
    EXPECT_STREQ(p.Label(), "m");
    EXPECT_EQ(p.PlainValue(), 1.0);
    EXPECT_EQ(p.Min(), 0.0);
    EXPECT_EQ(p.Max(), 3.0);
    EXPECT_EQ(p.Step(), 1.0);
}

TEST(ParameterDefine, RaisesMaxToMinPlusStepAndKeepsTheDefaultUnclamped) {
    IParameter p;
    p.DefineContinuous("Gain", 9.0, 2.0, 1.0, 0.5, "dB");
    EXPECT_EQ(p.Max(), 2.5);
    EXPECT_EQ(p.PlainValue(), 9.0);
}

TEST(ParameterDefine, PrecisionFollowsTheStep) {
    const struct {
        double step;
        int precision;
    } cases[] = {{1.0, 0}, {0.5, 1}, {0.1, 1}, {0.01, 2}, {0.001, 3}, {1.0 / 3.0, 6}, {2.0, 0}};
    for (const auto& c : cases) {
        IParameter p;
        p.DefineContinuous("x", 0, 0, 10, c.step, "");
        EXPECT_EQ(p.Precision(), c.precision) << "step " << c.step;
    }
}

TEST(ParameterDefine, TruncatesLongTexts) {
    IParameter p;
    const std::string longText(100, 'n');
    p.DefineInteger(longText.c_str(), 0, 0, 1, longText.c_str());
    p.AddValueText(0, longText.c_str());
    EXPECT_EQ(std::string(p.Name()), std::string(31, 'n'));
    EXPECT_EQ(std::string(p.Label()), std::string(31, 'n'));
    EXPECT_EQ(std::string(p.ValueTextFor(0)), std::string(31, 'n'));
    p.DefineInteger(nullptr, 0, 0, 1, nullptr);
    EXPECT_STREQ(p.Name(), "");
}

// Protects the mappings: snapping to the grid from 0 with halves up, and clamping.
TEST(ParameterValues, SnapsNonContinuousKindsToTheStepGrid) {
    IParameter p;
    p.DefineInteger("i", 0, 0, 22, "");
    p.SetFromNormalized(1.0);
    EXPECT_EQ(p.PlainValue(), 22.0);
    IParameter q;
    q.DefineInteger("i", 0, 0, 5, "");
    q.SetFromNormalized(0.5);
    EXPECT_EQ(q.PlainValue(), 3.0);  // 2.5 goes up
    // Plain values too (a typed text, a state written elsewhere): shown and heard as one step.
    q.SetPlain(1.5);
    EXPECT_EQ(q.PlainValue(), 2.0);
    q.SetPlain(4.49);
    EXPECT_EQ(q.PlainValue(), 4.0);
    IParameter c;
    c.DefineContinuous("c", 0, 0, 5, 1.0, "");
    c.SetFromNormalized(0.5);
    EXPECT_EQ(c.PlainValue(), 2.5);
}

TEST(ParameterValues, KeepsEveryValueWithinItsBounds) {
    IParameter p;
    p.DefineContinuous("c", 0, -1, 1, 0.01, "");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double x : {-0.01, -1e300, 1.5, 1e300, nan, -std::numeric_limits<double>::infinity()}) {
        p.SetFromNormalized(x);
        EXPECT_GE(p.PlainValue(), -1.0) << x;
        EXPECT_LE(p.PlainValue(), 1.0) << x;
    }
    p.SetFromNormalized(-0.01);
    EXPECT_EQ(p.PlainValue(), -1.0);
    p.SetPlain(nan);
    EXPECT_EQ(p.PlainValue(), -1.0);
    p.SetPlain(7.0);
    EXPECT_EQ(p.PlainValue(), 1.0);
    // A grid counted from 0 can snap below a minimum that is off the grid.
    IParameter offGrid;
    offGrid.DefineContinuous("o", 0.3, 0.3, 5, 1.0, "");
    offGrid.SetFromNormalized(0.0);
    EXPECT_GE(offGrid.PlainValue(), 0.3);
}

TEST(ParameterValues, ToNormalizedClampsAndHonoursTheShape) {
    IParameter p;
    p.DefineContinuous("c", 0, 0, 4, 0.001, "");
    EXPECT_EQ(p.ToNormalized(1.0), 0.25);
    EXPECT_EQ(p.ToNormalized(-3.0), 0.0);
    EXPECT_EQ(p.ToNormalized(9.0), 1.0);
    EXPECT_EQ(p.ToNormalized(std::nan("")), 0.0);
    p.SetShape(2.0);
    EXPECT_EQ(p.ToNormalized(1.0), 0.5);
    p.SetFromNormalized(0.5);
    EXPECT_EQ(p.PlainValue(), 1.0);
}

// Protects the display text: zero and NaN as "0", truncation, value texts, negated display.
TEST(ParameterFormat, ZeroNegativeZeroAndNaNShowAsZero) {
    IParameter p;
    p.DefineContinuous("c", 0, -10, 10, 0.01, "");
    EXPECT_EQ(Format(p, 0.0), "0");
    EXPECT_EQ(Format(p, -0.0), "0");
    EXPECT_EQ(Format(p, std::nan("")), "0");
    EXPECT_EQ(Format(p, 1.5), "1.50");
}

TEST(ParameterFormat, PrecisionZeroTruncatesTowardsZero) {
    IParameter p;
    p.DefineInteger("i", 0, -10, 10, "");
    EXPECT_EQ(Format(p, 2.999), "2");
    EXPECT_EQ(Format(p, -2.7), "-2");
    EXPECT_EQ(Format(p, -0.5), "0");
    EXPECT_EQ(Format(p, 1e12), "1000000000000");  // beyond int: no overflow
}

TEST(ParameterFormat, NegatedDisplayAndNormalisedInput) {
    IParameter p;
    p.DefineContinuous("c", 0, -2, 2, 0.1, "");
    p.SetNegateDisplay(true);
    EXPECT_EQ(Format(p, -1.5), "1.5");
    EXPECT_EQ(Format(p, 0.75, true), "-1.0");
}

TEST(ParameterFormat, ValueTextsReplaceNumbersUnlessEmpty) {
    IParameter p;
    p.DefineChoice("Mode", 0, 5, "");
    p.AddValueText(3, "Three");
    p.AddValueText(4, "");
    EXPECT_EQ(Format(p, 3.7), "Three");
    EXPECT_EQ(Format(p, 4.0), "4");
    EXPECT_EQ(Format(p, 1.0), "1");
    EXPECT_EQ(Format(p, 0.75, true), "Three");  // normalised 0.75 of 0..4
}

TEST(ParameterFormat, BoundsTheOutputText) {
    IParameter p;
    p.DefineContinuous("c", 0, 0, 1e6, 0.000001, "");
    char text[5] = "????";
    p.FormatForHost(123456.5, false, text, sizeof text);
    EXPECT_STREQ(text, "1234");
    p.FormatForHost(1.0, false, text, 0);  // nothing written, nothing read
    EXPECT_STREQ(text, "1234");
}

// Protects ParseText: exact value texts first, then the leading number, negated when shown negated.
TEST(ParameterParse, ValueTextsNumbersAndUnits) {
    IParameter p;
    p.DefineChoice("Mode", 0, 3, "");
    p.AddValueText(2, "Right");
    EXPECT_EQ(p.ParseText("Right"), 2.0);
    EXPECT_EQ(p.ParseText("right"), 0.0);
    EXPECT_EQ(p.ParseText("12.5 ms"), 12.5);
    EXPECT_EQ(p.ParseText("abc"), 0.0);
    EXPECT_EQ(p.ParseText(nullptr), 0.0);
    p.SetNegateDisplay(true);
    EXPECT_EQ(p.ParseText("3"), -3.0);
    int value = -1;
    EXPECT_TRUE(p.ValueForText("Right", value));
    EXPECT_EQ(value, 2);
    EXPECT_FALSE(p.ValueForText("Left", value));
    EXPECT_STREQ(p.ValueTextFor(7), "");
    EXPECT_EQ(p.ValueTextCount(), 1);
}

// Protects ParseText's number reading: decimal only. strtod also reads "nan", "inf" and hexadecimal
// text, which would reach SetPlain as NaN (the minimum) or infinity (the maximum).
TEST(ParameterParse, ReadsDecimalNumbersOnly) {
    IParameter p;
    p.DefineInteger("Offset", 0, -100, 100, "%");
    for (const char* text : {"nan", "NAN(1)", "inf", "-inf", "infinity", "0x20", "-0X1p3", "+", "-.", "e5"})
        EXPECT_EQ(p.ParseText(text), 0.0) << text;
    EXPECT_EQ(p.ParseText("  -12.5%"), -12.5);
    EXPECT_EQ(p.ParseText("+.5"), 0.5);
    EXPECT_EQ(p.ParseText("7."), 7.0);
    EXPECT_EQ(p.ParseText("1e2 ms"), 100.0);
    EXPECT_EQ(p.ParseText("2e"), 2.0);
    EXPECT_EQ(p.ParseText("0"), 0.0);
    p.SetNegateDisplay(true);
    EXPECT_EQ(p.ParseText("nan"), 0.0);
    EXPECT_EQ(p.ParseText("3"), -3.0);
}

}  // namespace
