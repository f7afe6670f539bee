#include "vst3/Vst3Stream.h"

#include <algorithm>

namespace vst3stream {

bool ReadAll(vst3::IBStream* stream, std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (!stream) return false;
    constexpr int32_t kPiece = 4096;
    uint8_t piece[kPiece];
    for (;;) {
        int32_t got = 0;
        if (stream->read(piece, kPiece, &got) != vst3::kResultOk) return false;
        if (got <= 0) return true;
        // A stream that claims more than it was asked for is broken.
        if (got > kPiece || bytes.size() + static_cast<size_t>(got) > kMaxStateBytes) return false;
        bytes.insert(bytes.end(), piece, piece + got);
    }
}

bool WriteAll(vst3::IBStream* stream, const void* data, size_t size) {
    if (!stream) return false;
    const auto* at = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const int32_t ask = static_cast<int32_t>(std::min<size_t>(size, INT32_MAX));
        int32_t done = 0;
        if (stream->write(const_cast<uint8_t*>(at), ask, &done) != vst3::kResultOk || done <= 0 || done > ask)
            return false;
        at += done;
        size -= static_cast<size_t>(done);
    }
    return true;
}

}  // namespace vst3stream
