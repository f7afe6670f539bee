#include <cstring>

#include "tests/abi/VesmarModule.h"

using VesmarState = VesmarModule;

namespace {

int32_t Int32At(const std::vector<uint8_t>& bytes, size_t at) {
    int32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

}  // namespace

// The program chunk: header and nine doubles holding the current plain values.
TEST_F(VesmarState, ProgramChunkLayout) {
    std::vector<uint8_t> chunk;
    ASSERT_TRUE(fx->GetChunk(false, chunk));
    ASSERT_EQ(chunk.size(), 80u);
    EXPECT_EQ(Int32At(chunk, 0), 0x70666674);
    EXPECT_EQ(Int32At(chunk, 4), 0x00010000);
    const double defaults[] = {500, 200, 800, 0, 70, 0, 0, 1, 6};
    for (int i = 0; i < 9; ++i) {
        double v;
        std::memcpy(&v, chunk.data() + 8 + 8 * i, 8);
        EXPECT_EQ(v, defaults[i]) << i;
    }
}

// The bank chunk: header, ten named slots with flags, six of them with 72 bytes of values.
TEST_F(VesmarState, BankChunkLayout) {
    std::vector<uint8_t> bank;
    ASSERT_TRUE(fx->GetChunk(true, bank));
    size_t expected = 8;
    for (int i = 0; i < 10; ++i) expected += 4 + fx->ProgramNameIndexed(i).size() + 1 + (i < 6 ? 72 : 0);
    EXPECT_EQ(bank.size(), expected);
    EXPECT_EQ(Int32At(bank, 8), 17);  // "---- default ----"
}

// Round trips: a program chunk and a bank restore what was saved.
TEST_F(VesmarState, RoundTrips) {
    SetPlain(kAttack, 1234);
    SetPlain(kSide, 2);
    std::vector<uint8_t> program, bank;
    ASSERT_TRUE(fx->GetChunk(false, program));
    ASSERT_TRUE(fx->GetChunk(true, bank));
    SetPlain(kAttack, 10);
    SetPlain(kSide, 0);
    ASSERT_TRUE(fx->SetChunk(false, program));
    EXPECT_EQ(fx->ParameterDisplay(kAttack), "1234");
    EXPECT_EQ(fx->ParameterDisplay(kSide), "Right");

    HostCallback otherHost;
    auto other = Create(otherHost);
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(other->SetChunk(true, bank));
    EXPECT_EQ(other->ParameterDisplay(kAttack), "1234");
    std::vector<uint8_t> again;
    ASSERT_TRUE(other->GetChunk(true, again));
    EXPECT_EQ(again, bank);
}

// Chunks from elsewhere: bare doubles load, truncated or empty chunks are refused.
TEST_F(VesmarState, ForeignChunks) {
    std::vector<uint8_t> bare(72);
    const double values[] = {100, 100, 100, 2, 40, -10, 1, 0, 3};
    std::memcpy(bare.data(), values, sizeof values);
    EXPECT_TRUE(fx->SetChunk(false, bare));
    EXPECT_EQ(fx->ParameterDisplay(kWidth), "40");
    EXPECT_EQ(fx->ParameterDisplay(kOffset), "-10");

    std::vector<uint8_t> magicOnly = {0x74, 0x66, 0x66, 0x70};
    EXPECT_FALSE(fx->SetChunk(false, magicOnly));
    EXPECT_EQ(fx->Dispatch(effSetChunk, 1, 80, nullptr), 0);
    EXPECT_EQ(fx->Dispatch(effSetChunk, 0, 0, bare.data()), 0);
    EXPECT_EQ(fx->Dispatch(effSetChunk, 1, -1, bare.data()), 0);
    EXPECT_EQ(fx->Dispatch(effGetChunk, 1, 0, nullptr), 0);
}

// Selecting programs: factory values, and an empty slot captured as a user preset.
TEST_F(VesmarState, SelectPrograms) {
    fx->SetProgram(4);
    EXPECT_EQ(fx->Program(), 4);
    EXPECT_EQ(fx->ParameterDisplay(kWidth), "50");
    EXPECT_EQ(fx->ParameterDisplay(kOffset), "50");
    fx->SetProgram(7);
    EXPECT_EQ(fx->ProgramName(), "user preset 1");
    fx->SetProgram(10);
    fx->SetProgram(-1);
    EXPECT_EQ(fx->Program(), 7);
    char name[] = "My Sound";
    fx->Dispatch(effSetProgramName, 0, 0, name);
    EXPECT_EQ(fx->ProgramNameIndexed(7), "My Sound");
}

// Parameters through the record: normalised values round-trip, bad indices and NaN change nothing.
TEST_F(VesmarState, ParameterCallbacks) {
    fx->SetParameter(kWidth, 0.25f);
    EXPECT_EQ(fx->GetParameter(kWidth), 0.25f);
    fx->SetParameter(kWidth, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(fx->GetParameter(kWidth), 0.25f);
    fx->SetParameter(kSides, 3.0f);
    EXPECT_EQ(fx->ParameterDisplay(kSides), "22");
    fx->SetParameter(9, 1.0f);
    fx->SetParameter(-1, 1.0f);
    EXPECT_EQ(fx->GetParameter(9), 0.0f);
    char text[] = "3000";
    EXPECT_EQ(fx->Dispatch(effString2Parameter, kDecay, 0, text), 1);
    EXPECT_EQ(fx->ParameterDisplay(kDecay), "3000");
}
