#pragma once

#include <cstddef>
#include <cstdint>

#include "base/GrowBuffer.h"

// Growable little-endian byte buffer that carries every saved state (parameter values, program
// chunks, banks).
//
// Readers treat the contents as untrusted: every read checks that it fits and answers a position
// of -1 when it does not. Positions are byte offsets; sizes never exceed GrowBuffer::MaxBytes, so
// they fit an int.
class IStateChunk {
  public:
    IStateChunk() noexcept = default;
    IStateChunk(const IStateChunk&) = delete;
    IStateChunk& operator=(const IStateChunk&) = delete;

    // Appends; each answers false (and leaves the chunk unchanged) when out of memory.
    bool PutInt(int32_t v) noexcept;
    bool PutDouble(double v) noexcept;
    bool PutBool(bool v) noexcept;
    bool PutBytes(const void* data, int n) noexcept;
    // Length L (32-bit, without terminator) followed by the L bytes; a null text counts as "".
    bool PutString(const char* text) noexcept;

    // New bytes are zero. False (unchanged) when n is negative or too large.
    bool Resize(int n) noexcept;
    void Clear() noexcept;

    int Size() const noexcept { return static_cast<int>(bytes_.Size()); }
    const uint8_t* Data() const noexcept { return static_cast<const uint8_t*>(bytes_.Data()); }
    uint8_t* Data() noexcept { return static_cast<uint8_t*>(bytes_.Data()); }

    // Reads at position; answer the position after the value, or -1 (value untouched) when the
    // value does not fit or position is negative.
    int GetInt(int32_t& v, int position) const noexcept;
    int GetDouble(double& v, int position) const noexcept;
    int GetByte(uint8_t& v, int position) const noexcept;
    // Reads a string: L at position, then L bytes. Answers the end position position + 4 + L, or -1
    // when L is negative or the bytes run past the end. When L > 0 and it fits, the text is copied
    // into out (truncated to capacity - 1 bytes, always terminated) and taken is set true; otherwise
    // out is untouched and taken false. length receives L (0 when it could not be read).
    int GetString(char* out, size_t capacity, int position, bool& taken, int32_t& length) const noexcept;

  private:
    GrowBuffer bytes_;
};
