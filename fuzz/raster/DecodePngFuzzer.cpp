#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "raster/MemoryBitmap.h"
#include "raster/PngDecoder.h"

namespace {

// Mutations almost always break a chunk checksum, which stops libpng at once; repairing the
// checksums lets the fuzzer reach the image decoding itself.
std::vector<unsigned char> WithRepairedChecksums(const uint8_t* data, size_t size) {
    std::vector<unsigned char> bytes(data, data + size);
    size_t at = 8;
    while (at + 12 <= bytes.size()) {
        size_t length = size_t(bytes[at]) << 24 | size_t(bytes[at + 1]) << 16 | size_t(bytes[at + 2]) << 8 |
                        bytes[at + 3];
        if (length > bytes.size() - at - 12) break;
        uLong crc = crc32(0, bytes.data() + at + 4, static_cast<uInt>(length + 4));
        for (size_t i = 0; i < 4; ++i)
            bytes[at + 8 + length + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
        at += length + 12;
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<unsigned char> repaired = WithRepairedChecksums(data, size);
    std::unique_ptr<RasterBitmap> created(DecodePng(repaired.data(), repaired.size(), nullptr));
    if (created) {
        // Read every pixel so that a short allocation shows up under ASan.
        uint32_t sum = 0;
        for (int y = 0; y < created->Height(); ++y)
            for (int x = 0; x < created->Width(); ++x) sum += created->Bits()[y * created->RowSpan() + x];
        volatile uint32_t sink = sum;
        (void)sink;
    }
    // The raw bytes, into a bitmap reused from run to run as the editor's caches do.
    static MemoryBitmap reused(3, 3, 4);
    DecodePng(data, size, &reused);
    return 0;
}
