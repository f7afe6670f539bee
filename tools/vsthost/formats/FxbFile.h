// A bank in the .fxb format: a big-endian header ("CcnK", size, "FxBk" or "FBCh", version, the
// plug-in's unique ID and version, the program count, 128 reserved bytes whose first four hold
// the current program in version 2), then either one complete FxCk program record per program
// (FxBk) or the plug-in's opaque bank chunk (FBCh). Parsing checks every count against the bytes
// that are present.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/vsthost/formats/FxpFile.h"

class FxbFile {
  public:
    static constexpr uint32_t kParamsMagic = 0x4678426B;  // FxBk
    static constexpr uint32_t kOpaqueMagic = 0x46424368;  // FBCh
    static constexpr size_t kHeaderBytes = 156;

    bool opaque = false;
    int32_t fxID = 0;
    int32_t fxVersion = 0;
    int32_t numPrograms = 0;
    int32_t currentProgram = -1;    // from a version 2 file; -1 when the file does not say
    std::vector<FxpFile> programs;  // FxBk
    std::vector<uint8_t> chunk;     // FBCh

    bool Parse(const uint8_t* data, size_t size, std::string& error);
    std::vector<uint8_t> Serialize() const;
};
