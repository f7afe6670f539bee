#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/TestCore.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutLe(Bytes& b, uint64_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutDouble(Bytes& b, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    PutLe(b, bits, 8);
}
void PutHeader(Bytes& b, uint32_t version = 0x00010000) {
    PutLe(b, 0x70666674, 4);
    PutLe(b, version, 4);
}
void PutName(Bytes& b, const std::string& name) {
    PutLe(b, static_cast<uint32_t>(name.size()), 4);
    b.insert(b.end(), name.begin(), name.end());
}

Bytes GetChunk(TestCore& core, bool bank) {
    const void* data = nullptr;
    const int size = core.GetStateChunk(bank, &data);
    const auto* p = static_cast<const uint8_t*>(data);
    return size > 0 ? Bytes(p, p + size) : Bytes();
}

int SetChunk(TestCore& core, bool bank, const Bytes& bytes) {
    return core.SetStateChunk(bank, bytes.data(), static_cast<intptr_t>(bytes.size()));
}

// Protects the slots the effect fills and the names they carry.
TEST(Programs, DefinitionAndCaptureFillSlotsInOrder) {
    TestCore core;
    EXPECT_STREQ(core.ProgramName(0), "---- default ----");
    EXPECT_STREQ(core.ProgramName(1), "Fast");
    EXPECT_STREQ(core.ProgramName(5), "Wide");
    EXPECT_STREQ(core.ProgramName(6), "- 7 -");
    EXPECT_FALSE(core.Program(6)->IsInitialised());
    EXPECT_STREQ(core.ProgramName(10), "");
    EXPECT_STREQ(core.ProgramName(-1), "");
    EXPECT_EQ(core.Program(1)->State().Size(), 72);
}

TEST(Programs, EnsureOneProgramOnlyActsWithoutSlots) {
    TestCore core;
    core.EnsureOneProgram();
    EXPECT_FALSE(core.Program(6)->IsInitialised());
    PluginDescriptor d;
    d.channelConfigs = "1-1";
    d.parameterCount = 2;
    IPluginCore bare(d);
    bare.EnsureOneProgram();
    ASSERT_EQ(bare.ProgramCount(), 1);
    EXPECT_STREQ(bare.ProgramName(0), "Default");
    EXPECT_TRUE(bare.Program(0)->IsInitialised());
    EXPECT_EQ(bare.Program(0)->State().Size(), 16);
}

TEST(Programs, SelectingEmptySlotsNamesUserPresetsAndRestoresValues) {
    TestCore core;
    ASSERT_TRUE(core.SelectProgram(2));
    EXPECT_EQ(core.Parameter(0)->PlainValue(), 500.0);
    core.Parameter(0)->SetPlain(77);
    ASSERT_TRUE(core.SelectProgram(6));
    EXPECT_STREQ(core.ProgramName(6), "user preset 1");
    core.Parameter(0)->SetPlain(88);
    ASSERT_TRUE(core.SelectProgram(8));
    EXPECT_STREQ(core.ProgramName(8), "user preset 2");
    ASSERT_TRUE(core.SelectProgram(6));
    EXPECT_STREQ(core.ProgramName(6), "user preset 1");
    EXPECT_EQ(core.Parameter(0)->PlainValue(), 77.0);
    EXPECT_EQ(core.CurrentProgramIndex(), 6);
    EXPECT_FALSE(core.SelectProgram(10));
    EXPECT_FALSE(core.SelectProgram(-1));
    EXPECT_EQ(core.CurrentProgramIndex(), 6);
}

TEST(Programs, StoreCurrentProgramKeepsOldNameWhenEmptyAndTruncatesLongOnes) {
    TestCore core;
    core.StoreCurrentProgram("");
    EXPECT_STREQ(core.ProgramName(0), "---- default ----");
    const std::string longName(400, 'p');
    core.StoreCurrentProgram(longName.c_str());
    EXPECT_EQ(std::string(core.ProgramName(0)), std::string(255, 'p'));
}

// Protects the chunk layouts byte for byte.
TEST(Chunks, ProgramChunkIsHeaderAndNineDoubles) {
    TestCore core;
    Bytes expected;
    PutHeader(expected);
    for (double v : core.Values()) PutDouble(expected, v);
    const Bytes chunk = GetChunk(core, false);
    EXPECT_EQ(chunk.size(), 80u);
    EXPECT_EQ(chunk, expected);
    EXPECT_EQ(chunk[0], 0x74);
    EXPECT_EQ(chunk[3], 0x70);
    EXPECT_EQ(chunk[6], 0x01);
    EXPECT_EQ(core.GetStateChunk(false, nullptr), 0);
}

TEST(Chunks, BankChunkHoldsNamesFlagsAndInitialisedStates) {
    TestCore core;
    core.Parameter(6)->SetPlain(9);  // the current program takes the dialled-in value
    Bytes expected;
    PutHeader(expected);
    const double fast[] = {1, 10, 50, 1, 80, 0, 3, 0, 0};
    for (int k = 0; k < 10; ++k) {
        PutName(expected, core.ProgramName(k));
        expected.push_back(k < 6 ? 1 : 0);
        if (k == 0) {
            for (double v : core.Values()) PutDouble(expected, v);
        } else if (k == 1) {
            for (double v : fast) PutDouble(expected, v);
        } else if (k < 6) {
            const IStateChunk& state = core.Program(k)->State();
            expected.insert(expected.end(), state.Data(), state.Data() + state.Size());
        }
    }
    const Bytes chunk = GetChunk(core, true);
    EXPECT_EQ(chunk, expected);
    EXPECT_EQ(chunk.size(),
              8u + 10 * 5 + (17 + 4 + 4 + 4 + 5 + 4) + 6 * 72 + 3 * 5 + 6);  // "- 10 -" is one longer
}

// Protects loading: bare values, the header version rule, clamping and every short chunk.
TEST(Chunks, BareValuesWithoutHeaderLoadAsOneProgram) {
    TestCore core;
    Bytes bare;
    const double values[] = {1, 2, 3, 4, 5, 6, 7, 2, 0};
    for (double v : values) PutDouble(bare, v);
    ASSERT_EQ(bare.size(), 72u);
    EXPECT_EQ(SetChunk(core, false, bare), 1);
    EXPECT_EQ(core.Values(), std::vector<double>(values, values + 9));
    EXPECT_EQ(core.Program(0)->State().Size(), 72);  // stored into the current program
}

TEST(Chunks, OldBankVersionReadsAsOneProgram) {
    TestCore core;
    Bytes chunk;
    PutHeader(chunk, 0xFFFF);
    for (int i = 0; i < 9; ++i) PutDouble(chunk, 2.0);
    EXPECT_EQ(SetChunk(core, true, chunk), 1);
    EXPECT_EQ(core.Parameter(0)->PlainValue(), 2.0);
    EXPECT_STREQ(core.ProgramName(1), "Fast");
}

TEST(Chunks, ValuesOutsideTheRangeComeBackClamped) {
    TestCore core;
    Bytes chunk;
    PutHeader(chunk);
    const double values[] = {5000, -3, 1e300, 99, std::nan(""), -500, 12, 2, 1};
    for (double v : values) PutDouble(chunk, v);
    EXPECT_EQ(SetChunk(core, false, chunk), 1);
    EXPECT_EQ(core.Values(), (std::vector<double>{1000, 0, 5000, 4, 0, -100, 12, 2, 1}));
}

TEST(Chunks, MagicOnlyChangesNothingButNotifiesAndFails) {
    TestCore core;
    const std::vector<double> before = core.Values();
    Bytes chunk;
    PutLe(chunk, 0x70666674, 4);
    core.changes.clear();
    EXPECT_EQ(SetChunk(core, false, chunk), 0);
    EXPECT_EQ(core.Values(), before);
    EXPECT_EQ(core.changes.size(), 9u);
}

TEST(Chunks, ShortProgramChunkLoadsWhatIsThereAndFails) {
    TestCore core;
    Bytes chunk;
    PutHeader(chunk);
    PutDouble(chunk, 3);
    PutDouble(chunk, 4);
    chunk.push_back(0x11);  // a partial third value
    EXPECT_EQ(SetChunk(core, false, chunk), 0);
    EXPECT_EQ(core.Parameter(0)->PlainValue(), 3.0);
    EXPECT_EQ(core.Parameter(1)->PlainValue(), 4.0);
    EXPECT_EQ(core.Parameter(2)->PlainValue(), 1.0);  // the first missing one: 0 clamped to 1..5000
    EXPECT_EQ(core.Parameter(4)->PlainValue(), 100.0);
}

TEST(Chunks, RefusesNullEmptyAndNegativeSizesWithoutChange) {
    TestCore core;
    const std::vector<double> before = core.Values();
    const uint8_t byte = 0;
    EXPECT_EQ(core.SetStateChunk(false, nullptr, 8), 0);
    EXPECT_EQ(core.SetStateChunk(false, &byte, 0), 0);
    EXPECT_EQ(core.SetStateChunk(true, &byte, -8), 0);
    EXPECT_EQ(core.SetStateChunk(true, &byte, intptr_t{1} << 40), 0);
    EXPECT_EQ(core.Values(), before);
}

TEST(Chunks, ShortBanksFailAtEveryCut) {
    TestCore source;
    source.SelectProgram(7);
    const Bytes full = GetChunk(source, true);
    for (size_t cut = 4; cut < full.size(); ++cut) {
        TestCore core;
        const Bytes part(full.begin(), full.begin() + static_cast<long>(cut));
        EXPECT_EQ(SetChunk(core, true, part), 0) << cut;
        for (int i = 0; i < 9; ++i) {
            double lo, hi;
            core.Parameter(i)->Bounds(lo, hi);
            ASSERT_GE(core.Parameter(i)->PlainValue(), lo);
            ASSERT_LE(core.Parameter(i)->PlainValue(), hi);
        }
        const Bytes again = GetChunk(core, true);  // whatever was loaded must save consistently
        TestCore reload;
        ASSERT_EQ(SetChunk(reload, true, again), 1) << cut;
        ASSERT_EQ(GetChunk(reload, true), again) << cut;
    }
}

TEST(Chunks, HostileNameLengthsEndTheBank) {
    for (uint32_t length : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x80000000u, 1000u}) {
        TestCore core;
        Bytes chunk;
        PutHeader(chunk);
        PutLe(chunk, length, 4);
        chunk.insert(chunk.end(), {'a', 'b', 1});
        EXPECT_EQ(SetChunk(core, true, chunk), 0) << length;
        EXPECT_STREQ(core.ProgramName(0), "---- default ----");
    }
}

// Protects the bank round trip: names (truncated at 255), flags and values survive.
TEST(Chunks, BankRoundTripRestoresEverySlot) {
    TestCore source;
    source.SelectProgram(6);
    source.Parameter(5)->SetPlain(-42);
    source.StoreCurrentProgram("Mine");
    source.SelectProgram(3);
    const Bytes bank = GetChunk(source, true);

    TestCore target;
    ASSERT_EQ(SetChunk(target, true, bank), 1);
    for (int k = 0; k < 10; ++k) {
        EXPECT_STREQ(target.ProgramName(k), source.ProgramName(k));
        EXPECT_EQ(target.Program(k)->IsInitialised(), source.Program(k)->IsInitialised());
    }
    ASSERT_TRUE(target.SelectProgram(3));  // the current program is not part of a bank
    EXPECT_EQ(target.Values(), source.Values());
    ASSERT_TRUE(target.SelectProgram(6));
    EXPECT_EQ(target.Parameter(5)->PlainValue(), -42.0);
    ASSERT_TRUE(source.SelectProgram(6));
    EXPECT_EQ(GetChunk(target, true), GetChunk(source, true));
}

TEST(Chunks, LongAndEmptyNamesInABank) {
    TestCore core;
    Bytes chunk;
    PutHeader(chunk);
    PutName(chunk, "Zero");
    chunk.push_back(0);
    PutName(chunk, "");
    chunk.push_back(0);
    PutName(chunk, std::string(300, 'L'));
    chunk.push_back(0);
    for (int k = 3; k < 10; ++k) {
        PutName(chunk, "P" + std::to_string(k));
        chunk.push_back(0);
    }
    EXPECT_EQ(SetChunk(core, true, chunk), 1);
    EXPECT_STREQ(core.ProgramName(1), "");
    EXPECT_EQ(std::string(core.ProgramName(2)), std::string(255, 'L'));
    EXPECT_STREQ(core.ProgramName(9), "P9");
    // The bank emptied the current slot, so selecting it again captured the sound under a new name.
    EXPECT_TRUE(core.Program(0)->IsInitialised());
    EXPECT_STREQ(core.ProgramName(0), "user preset 1");
}

}  // namespace
