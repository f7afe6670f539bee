#include "tools/vsthost/host/vst3/MemoryStream.h"

#include <algorithm>
#include <cstring>

vst3::tresult MemoryStream::read(void* buffer, int32_t numBytes, int32_t* numBytesRead) noexcept {
    if (numBytesRead) *numBytesRead = 0;
    if (numBytes < 0 || (!buffer && numBytes > 0)) return vst3::kInvalidArgument;
    const int64_t left = std::max<int64_t>(0, static_cast<int64_t>(bytes.size()) - position);
    int64_t n = std::min<int64_t>(numBytes, left);
    if (piece > 0) n = std::min<int64_t>(n, piece);
    if (n > 0) std::memcpy(buffer, bytes.data() + position, static_cast<size_t>(n));
    position += n;
    if (numBytesRead) *numBytesRead = static_cast<int32_t>(n);
    return vst3::kResultOk;
}

vst3::tresult MemoryStream::write(void* buffer, int32_t numBytes, int32_t* numBytesWritten) noexcept {
    if (numBytesWritten) *numBytesWritten = 0;
    if (numBytes < 0 || (!buffer && numBytes > 0)) return vst3::kInvalidArgument;
    const size_t end = static_cast<size_t>(position) + static_cast<size_t>(numBytes);
    if (end > bytes.size()) bytes.resize(end);
    if (numBytes > 0) std::memcpy(bytes.data() + position, buffer, static_cast<size_t>(numBytes));
    position += numBytes;
    if (numBytesWritten) *numBytesWritten = numBytes;
    return vst3::kResultOk;
}

vst3::tresult MemoryStream::seek(int64_t pos, int32_t mode, int64_t* result) noexcept {
    int64_t base = 0;
    if (mode == vst3::kIBSeekCur) base = position;
    if (mode == vst3::kIBSeekEnd) base = static_cast<int64_t>(bytes.size());
    if (mode < vst3::kIBSeekSet || mode > vst3::kIBSeekEnd || base + pos < 0) return vst3::kInvalidArgument;
    position = base + pos;
    if (result) *result = position;
    return vst3::kResultOk;
}

vst3::tresult MemoryStream::tell(int64_t* pos) noexcept {
    if (!pos) return vst3::kInvalidArgument;
    *pos = position;
    return vst3::kResultOk;
}
