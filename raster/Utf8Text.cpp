#include "raster/Utf8Text.h"

namespace {

bool IsContinuation(unsigned char b) {
    return b >= 0x80 && b <= 0xBF;
}

// Whether the `count` bytes after the lead exist within `available` and are all continuations.
// A NUL is not a continuation, so an unbounded text is never read past its terminator.
bool ContinuationsFollow(const unsigned char* bytes, int available, int count) {
    if (available >= 0 && available < count + 1) return false;
    for (int i = 1; i <= count; ++i)
        if (!IsContinuation(bytes[i])) return false;
    return true;
}

}  // namespace

Utf8Char DecodeUtf8(const unsigned char* bytes, int available) {
    const unsigned char lead = bytes[0];
    if (lead >= 0xC2 && lead <= 0xDF && ContinuationsFollow(bytes, available, 1))
        return {static_cast<uint16_t>((lead & 0x1F) << 6 | (bytes[1] & 0x3F)), 2};
    if (lead >= 0xE0 && lead <= 0xEF && ContinuationsFollow(bytes, available, 2))
        return {static_cast<uint16_t>((lead & 0x0F) << 12 | (bytes[1] & 0x3F) << 6 | (bytes[2] & 0x3F)), 3};
    if (lead >= 0xF0 && lead <= 0xF4 && ContinuationsFollow(bytes, available, 3)) return {0x20, 4};
    return {lead, 1};
}

bool HasUtf8Sequence(const char* text, int byteCount) {
    if (!text) return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    for (int i = 0; byteCount < 0 ? bytes[i] != 0 : i < byteCount; ++i) {
        const unsigned char lead = bytes[i];
        const int left = byteCount < 0 ? -1 : byteCount - i;
        if (lead >= 0xC2 && lead <= 0xDF && ContinuationsFollow(bytes + i, left, 1)) return true;
        if (lead >= 0xE0 && lead <= 0xF4 && ContinuationsFollow(bytes + i, left, 2)) return true;
    }
    return false;
}
