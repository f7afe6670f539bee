// One program in the .fxp format every VST 2 host and preset tool exchanges: a big-endian header
// ("CcnK", size, "FxCk" or "FPCh", version, the plug-in's unique ID and version, the parameter
// count and a 28-byte name), then either the parameter values as floats (FxCk) or the plug-in's
// opaque program chunk (FPCh). Files are untrusted: parsing checks every count against the
// bytes that are present and names what is wrong.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ByteReader;
class ByteWriter;

class FxpFile {
  public:
    static constexpr uint32_t kChunkMagic = 0x43636E4B;   // CcnK
    static constexpr uint32_t kParamsMagic = 0x4678436B;  // FxCk
    static constexpr uint32_t kOpaqueMagic = 0x46504368;  // FPCh
    static constexpr size_t kNameLength = 28;
    static constexpr size_t kHeaderBytes = 56;

    bool opaque = false;  // FPCh: chunk holds the program; else params do
    int32_t fxID = 0;
    int32_t fxVersion = 0;
    int32_t numParams = 0;  // as stored; for FxCk equal to params.size()
    std::string name;
    std::vector<float> params;
    std::vector<uint8_t> chunk;

    bool Parse(const uint8_t* data, size_t size, std::string& error);
    // Parses one program record at the reader's position (as inside an .fxb bank).
    bool Read(ByteReader& in, std::string& error);
    std::vector<uint8_t> Serialize() const;
    void Write(ByteWriter& out) const;
};
