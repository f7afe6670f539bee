#include <gtest/gtest.h>

#include "tools/vsthost/formats/FxbFile.h"
#include "tools/vsthost/formats/FxpFile.h"
#include "tools/vsthost/formats/JsonWriter.h"

namespace {

FxpFile ParamProgram() {
    FxpFile p;
    p.fxID = 0x5473476E;
    p.fxVersion = 3;
    p.name = "Quiet";
    p.params = {0.5f, 0.25f};
    p.numParams = 2;
    return p;
}

}  // namespace

// The published layout, byte for byte: big-endian header, magic words, name field, floats.
TEST(FxpFileTest, WritesThePublishedLayout) {
    std::vector<uint8_t> bytes = ParamProgram().Serialize();
    ASSERT_EQ(bytes.size(), 56u + 8u);
    const uint8_t header[] = {'C', 'c', 'n', 'K', 0, 0, 0, 56, 'F', 'x', 'C', 'k', 0,   0,   0,   1,   'T',
                              's', 'G', 'n', 0,   0, 0, 3, 0,  0,   0,   2,   'Q', 'u', 'i', 'e', 't', 0};
    for (size_t i = 0; i < sizeof header; ++i) EXPECT_EQ(bytes[i], header[i]) << "byte " << i;
    // 0.5f is 0x3F000000, big-endian after the 28-byte name.
    EXPECT_EQ(bytes[56], 0x3F);
    EXPECT_EQ(bytes[57], 0x00);
}

// Save → parse gives back what was saved, for every kind of record.
TEST(FxpFileTest, RoundTripsParametersAndChunks) {
    FxpFile params = ParamProgram(), parsed;
    std::string error;
    std::vector<uint8_t> bytes = params.Serialize();
    ASSERT_TRUE(parsed.Parse(bytes.data(), bytes.size(), error)) << error;
    EXPECT_FALSE(parsed.opaque);
    EXPECT_EQ(parsed.fxID, params.fxID);
    EXPECT_EQ(parsed.name, "Quiet");
    EXPECT_EQ(parsed.params, params.params);

    FxpFile chunk = params;
    chunk.opaque = true;
    chunk.chunk = {1, 2, 3, 4, 5};
    chunk.name = std::string(40, 'n');  // cut to the 27 characters the field holds
    bytes = chunk.Serialize();
    ASSERT_TRUE(parsed.Parse(bytes.data(), bytes.size(), error)) << error;
    EXPECT_TRUE(parsed.opaque);
    EXPECT_EQ(parsed.chunk, chunk.chunk);
    EXPECT_EQ(parsed.name, std::string(27, 'n'));
}

TEST(FxbFileTest, RoundTripsBanksOfProgramsAndChunks) {
    FxbFile bank, parsed;
    bank.fxID = 0x5473476E;
    bank.currentProgram = 1;
    bank.programs = {ParamProgram(), ParamProgram()};
    bank.programs[1].name = "Second";
    bank.numPrograms = 2;
    std::string error;
    std::vector<uint8_t> bytes = bank.Serialize();
    EXPECT_EQ(bytes.size(), 156u + 2 * 64u);
    ASSERT_TRUE(parsed.Parse(bytes.data(), bytes.size(), error)) << error;
    ASSERT_EQ(parsed.programs.size(), 2u);
    EXPECT_EQ(parsed.programs[1].name, "Second");
    EXPECT_EQ(parsed.currentProgram, 1);

    bank.opaque = true;
    bank.chunk = std::vector<uint8_t>(1000, 7);
    bytes = bank.Serialize();
    ASSERT_TRUE(parsed.Parse(bytes.data(), bytes.size(), error)) << error;
    EXPECT_TRUE(parsed.opaque);
    EXPECT_EQ(parsed.chunk, bank.chunk);
}

// Untrusted files: every cut of a valid file, lying counts and wrong magic words are refused
// with a reason, never read past their end (ASan watches).
TEST(PresetParsingTest, RefusesTruncatedAndLyingFiles) {
    FxpFile program = ParamProgram();
    program.opaque = true;
    program.chunk = std::vector<uint8_t>(100, 1);
    std::vector<uint8_t> fxp = program.Serialize();
    FxbFile bank;
    bank.programs = {ParamProgram()};
    std::vector<uint8_t> fxb = bank.Serialize();
    std::string error;
    for (size_t cut = 0; cut < fxp.size(); ++cut) {
        std::vector<uint8_t> part(fxp.begin(), fxp.begin() + static_cast<std::ptrdiff_t>(cut));
        FxpFile parsed;
        EXPECT_FALSE(parsed.Parse(part.data(), part.size(), error)) << cut;
        EXPECT_NE(error.find("truncated"), std::string::npos) << cut << ": " << error;
    }
    for (size_t cut = 0; cut < fxb.size(); ++cut) {
        std::vector<uint8_t> part(fxb.begin(), fxb.begin() + static_cast<std::ptrdiff_t>(cut));
        FxbFile parsed;
        EXPECT_FALSE(parsed.Parse(part.data(), part.size(), error)) << cut;
    }
    // A parameter count far beyond the file, and a huge program count.
    std::vector<uint8_t> lying = ParamProgram().Serialize();
    lying[24] = 0x00;
    lying[25] = 0x0F;
    FxpFile parsed;
    EXPECT_FALSE(parsed.Parse(lying.data(), lying.size(), error));
    std::vector<uint8_t> many = fxb;
    many[24] = 0x00;
    many[25] = 0x00;
    many[26] = 0xFF;
    FxbFile parsedBank;
    EXPECT_FALSE(parsedBank.Parse(many.data(), many.size(), error));
    // A bank handed to the program parser and the other way round.
    EXPECT_FALSE(parsed.Parse(fxb.data(), fxb.size(), error));
    EXPECT_NE(error.find("bank"), std::string::npos) << error;
    EXPECT_FALSE(parsedBank.Parse(fxp.data(), fxp.size(), error));
    EXPECT_NE(error.find("program"), std::string::npos) << error;
}

// JSON for machines: strings escaped, foreign bytes kept valid, non-finite numbers as null.
TEST(JsonWriterTest, WritesValidJsonForAnyPluginText) {
    JsonWriter j;
    j.BeginObject();
    j.Field("name", std::string("a\"b\\c\n\x01"));
    j.Field("latin1", std::string("caf\xE9"));
    j.Field("utf8", std::string("caf\xC3\xA9"));
    j.Field("nan", 0.0 / 0.0);
    j.Key("empty");
    j.BeginArray();
    j.EndArray();
    j.EndObject();
    EXPECT_EQ(j.Text(),
              "{\n  \"name\": \"a\\\"b\\\\c\\n\\u0001\",\n  \"latin1\": \"caf\\u00E9\",\n"
              "  \"utf8\": \"caf\xC3\xA9\",\n  \"nan\": null,\n  \"empty\": []\n}\n");
}
