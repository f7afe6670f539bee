#include "clap/ClapStateEnvelope.h"

#include <cstring>

namespace {

constexpr uint8_t kMagic[4] = {'V', 'C', 'L', 'P'};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderBytes = 16;
// The core's chunk magic 0x70666674 as it lies in the chunk.
constexpr uint8_t kChunkMagic[4] = {0x74, 0x66, 0x66, 0x70};

void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t GetLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

std::vector<uint8_t> ClapStateEnvelope::Encode(int32_t program, const void* bank, size_t bankSize) {
    std::vector<uint8_t> out(kMagic, kMagic + 4);
    PutLe32(out, kVersion);
    PutLe32(out, static_cast<uint32_t>(program));
    PutLe32(out, static_cast<uint32_t>(bankSize));
    auto* bytes = static_cast<const uint8_t*>(bank);
    out.insert(out.end(), bytes, bytes + bankSize);
    return out;
}

bool ClapStateEnvelope::Decode(const std::vector<uint8_t>& bytes, int32_t programCount,
                               ClapStateEnvelope& out) {
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, 4) != 0) return false;
    if (GetLe32(&bytes[4]) != kVersion) return false;
    auto program = static_cast<int32_t>(GetLe32(&bytes[8]));
    size_t size = GetLe32(&bytes[12]);
    if (program < 0 || program >= programCount || size != bytes.size() - kHeaderBytes) return false;
    if (size < 8 || std::memcmp(&bytes[kHeaderBytes], kChunkMagic, 4) != 0) return false;
    out.program = program;
    out.bank = &bytes[kHeaderBytes];
    out.bankSize = size;
    return true;
}
