#include "raster/Utf8Text.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

Utf8Char Decode(std::vector<unsigned char> bytes, int available = -1) {
    bytes.push_back(0);
    return DecodeUtf8(bytes.data(), available);
}

// The decoder written out plainly, as the reference for the sweep.
Utf8Char Reference(unsigned char lead, unsigned char b1, unsigned char b2, unsigned char b3) {
    auto cont = [](unsigned char b) { return b >= 0x80 && b <= 0xBF; };
    if (lead >= 0xC2 && lead <= 0xDF && cont(b1))
        return {static_cast<uint16_t>((lead & 0x1F) * 64 + (b1 & 0x3F)), 2};
    if (lead >= 0xE0 && lead <= 0xEF && cont(b1) && cont(b2))
        return {static_cast<uint16_t>((lead & 0x0F) * 4096 + (b1 & 0x3F) * 64 + (b2 & 0x3F)), 3};
    if (lead >= 0xF0 && lead <= 0xF4 && cont(b1) && cont(b2) && cont(b3)) return {0x20, 4};
    return {lead, 1};
}

}  // namespace

// The documented sequences: a three-byte euro, a four-byte emoji shown as a space, overlong and
// broken sequences falling back to their lead byte.
TEST(DecodeUtf8, DocumentedCases) {
    Utf8Char euro = Decode({0xE2, 0x82, 0xAC});
    EXPECT_EQ(euro.code, 0x20AC);
    EXPECT_EQ(euro.length, 3);
    Utf8Char emoji = Decode({0xF0, 0x9F, 0x98, 0x80});
    EXPECT_EQ(emoji.code, 0x20);
    EXPECT_EQ(emoji.length, 4);
    Utf8Char overlong = Decode({0xC0, 0x80});
    EXPECT_EQ(overlong.code, 0xC0);
    EXPECT_EQ(overlong.length, 1);
    EXPECT_EQ(Decode({0x80}).code, 0x80);
    Utf8Char broken = Decode({0xE2, 0x82, 0x41});
    EXPECT_EQ(broken.code, 0xE2);
    EXPECT_EQ(broken.length, 1);
    EXPECT_EQ(Decode({0xC3, 0xA9}).code, 0xE9);
    EXPECT_EQ(Decode({0xF5, 0x80, 0x80, 0x80}).length, 1);
}

// Every lead byte with valid, wrong and missing continuations decodes as the reference says,
// and a NUL never counts as a continuation (so unbounded text is not read past its end).
TEST(DecodeUtf8, EveryLeadWithValidAndBrokenContinuations) {
    const unsigned char followers[] = {0x80, 0xBF, 0xA5, 0x7F, 0xC0, 0x00};
    for (int lead = 1; lead < 256; ++lead)
        for (unsigned char b1 : followers)
            for (unsigned char b2 : followers)
                for (unsigned char b3 : followers) {
                    const unsigned char text[] = {static_cast<unsigned char>(lead), b1, b2, b3, 0};
                    Utf8Char got = DecodeUtf8(text, -1);
                    Utf8Char want = Reference(text[0], b1, b2, b3);
                    ASSERT_EQ(got.code, want.code)
                        << lead << " " << int(b1) << " " << int(b2) << " " << int(b3);
                    ASSERT_EQ(got.length, want.length) << lead;
                }
}

// A count that ends inside a sequence never lets the decoder look past it.
TEST(DecodeUtf8, CountEndingInsideASequenceGivesTheLeadAlone) {
    const unsigned char euro[] = {0xE2, 0x82, 0xAC};
    EXPECT_EQ(DecodeUtf8(euro, 3).code, 0x20AC);
    EXPECT_EQ(DecodeUtf8(euro, 2).code, 0xE2);
    EXPECT_EQ(DecodeUtf8(euro, 2).length, 1);
    const unsigned char e[] = {0xC3, 0xA9};
    EXPECT_EQ(DecodeUtf8(e, 1).code, 0xC3);
    const unsigned char emoji[] = {0xF0, 0x9F, 0x98, 0x80};
    EXPECT_EQ(DecodeUtf8(emoji, 3).length, 1);
    EXPECT_EQ(DecodeUtf8(emoji, 4).length, 4);
}

// Multi-byte detection decides between the wide and the narrow platform call.
TEST(HasUtf8Sequence, FindsSequencesOnlyWhereTheDecoderWould) {
    EXPECT_FALSE(HasUtf8Sequence(nullptr, -1));
    EXPECT_FALSE(HasUtf8Sequence("500ms", -1));
    EXPECT_FALSE(HasUtf8Sequence("", -1));
    EXPECT_TRUE(HasUtf8Sequence("caf\xC3\xA9", -1));
    EXPECT_TRUE(HasUtf8Sequence("\xE2\x82\xAC", -1));
    EXPECT_TRUE(HasUtf8Sequence("\xF0\x9F\x98", -1));  // four-byte lead with two continuations
    EXPECT_FALSE(HasUtf8Sequence("\xC0\x80", -1));
    EXPECT_FALSE(HasUtf8Sequence("\xE2\x41\x82", -1));
    EXPECT_FALSE(HasUtf8Sequence("\x80\x80", -1));
    EXPECT_FALSE(HasUtf8Sequence("caf\xC3\xA9", 4));  // the count ends inside the sequence
    EXPECT_TRUE(HasUtf8Sequence("caf\xC3\xA9", 5));
}
