// The CLAP state: the core's bank chunk in an envelope of our own, which adds what the bank
// chunk lacks for a host that keeps nothing else of the plug-in: the current program, and a
// length that makes a truncated or padded stream detectable before anything is applied.
//
//   offset 0  4 bytes  magic "VCLP"
//          4  4 bytes  envelope version, 1 (little-endian, as every field)
//          8  4 bytes  current program index
//         12  4 bytes  bank chunk length n
//         16  n bytes  the bank chunk, starting with the core's chunk magic
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ClapStateEnvelope {
    int32_t program = 0;
    const uint8_t* bank = nullptr;  // into the decoded bytes
    size_t bankSize = 0;

    static std::vector<uint8_t> Encode(int32_t program, const void* bank, size_t bankSize);
    // False for anything but a whole, well-formed envelope of version 1 whose program index is
    // below programCount and whose chunk starts with the core's chunk magic.
    static bool Decode(const std::vector<uint8_t>& bytes, int32_t programCount, ClapStateEnvelope& out);
};
