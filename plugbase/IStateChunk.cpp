#include "plugbase/IStateChunk.h"

#include <cstring>

#include "plugbase/TextCopy.h"

namespace {

// Values are stored little-endian whatever the machine, so chunks move between platforms.
void EncodeLittleEndian(uint64_t v, uint8_t* out, int bytes) {
    for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint64_t DecodeLittleEndian(const uint8_t* in, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(in[i]) << (8 * i);
    return v;
}

}  // namespace

bool IStateChunk::PutInt(int32_t v) noexcept {
    uint8_t bytes[4];
    EncodeLittleEndian(static_cast<uint32_t>(v), bytes, 4);
    return bytes_.Append(bytes, 4);
}

bool IStateChunk::PutDouble(double v) noexcept {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    uint8_t bytes[8];
    EncodeLittleEndian(bits, bytes, 8);
    return bytes_.Append(bytes, 8);
}

bool IStateChunk::PutBool(bool v) noexcept {
    const uint8_t byte = v ? 1 : 0;
    return bytes_.Append(&byte, 1);
}

bool IStateChunk::PutBytes(const void* data, int n) noexcept {
    return bytes_.Append(data, n);
}

bool IStateChunk::PutString(const char* text) noexcept {
    const size_t length = text != nullptr ? std::strlen(text) : 0;
    if (length > static_cast<size_t>(GrowBuffer::MaxBytes)) return false;
    const intptr_t before = bytes_.Size();
    if (PutInt(static_cast<int32_t>(length)) && bytes_.Append(text, static_cast<intptr_t>(length)))
        return true;
    bytes_.Resize(before);
    return false;
}

bool IStateChunk::Resize(int n) noexcept {
    if (n < 0) return false;
    const intptr_t before = bytes_.Size();
    if (!bytes_.Resize(n)) return false;
    if (n > before) std::memset(Data() + before, 0, static_cast<size_t>(n - before));
    return true;
}

void IStateChunk::Clear() noexcept {
    bytes_.Resize(0);
}

int IStateChunk::GetInt(int32_t& v, int position) const noexcept {
    if (position < 0 || position > Size() - 4) return -1;
    v = static_cast<int32_t>(static_cast<uint32_t>(DecodeLittleEndian(Data() + position, 4)));
    return position + 4;
}

int IStateChunk::GetDouble(double& v, int position) const noexcept {
    if (position < 0 || position > Size() - 8) return -1;
    const uint64_t bits = DecodeLittleEndian(Data() + position, 8);
    std::memcpy(&v, &bits, sizeof v);
    return position + 8;
}

int IStateChunk::GetByte(uint8_t& v, int position) const noexcept {
    if (position < 0 || position >= Size()) return -1;
    v = Data()[position];
    return position + 1;
}

int IStateChunk::GetString(char* out, size_t capacity, int position, bool& taken,
                           int32_t& length) const noexcept {
    taken = false;
    length = 0;
    int32_t n = 0;
    const int start = GetInt(n, position);
    if (start < 0) return -1;
    length = n;
    // Compare against the room left rather than computing start + n, which could overflow.
    if (n < 0 || n > Size() - start) return -1;
    if (n > 0) {
        if (out != nullptr && capacity > 0) {
            const size_t copy = static_cast<size_t>(n) < capacity - 1 ? static_cast<size_t>(n) : capacity - 1;
            std::memcpy(out, Data() + start, copy);
            out[copy] = '\0';
        }
        taken = true;
    }
    return start + n;
}
