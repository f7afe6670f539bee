// Big-endian reading from untrusted bytes and writing into a growing buffer, for preset files.
// Every read checks the bytes that are really there; a failed read leaves the cursor failed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class ByteReader {
  public:
    ByteReader(const uint8_t* bytes, size_t length) : data(bytes), size(length) {}
    bool Ok() const { return ok; }
    size_t Position() const { return pos; }
    size_t Remaining() const { return ok ? size - pos : 0; }

    uint32_t U32() {
        if (!Need(4)) return 0;
        uint32_t v = (uint32_t{data[pos]} << 24) | (uint32_t{data[pos + 1]} << 16) |
                     (uint32_t{data[pos + 2]} << 8) | uint32_t{data[pos + 3]};
        pos += 4;
        return v;
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    float F32() {
        uint32_t bits = U32();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    // A fixed-size text field: up to its first zero byte.
    std::string Text(size_t length) {
        if (!Need(length)) return {};
        const char* start = reinterpret_cast<const char*>(data + pos);
        pos += length;
        return std::string(start, strnlen(start, length));
    }
    bool Bytes(size_t length, std::vector<uint8_t>& out) {
        if (!Need(length)) return false;
        out.assign(data + pos, data + pos + length);
        pos += length;
        return true;
    }
    // A 32-bit size followed by that many bytes; what names them in the error.
    bool SizedBytes(std::vector<uint8_t>& out, const char* what, std::string& error) {
        int32_t declared = I32();
        if (!ok || declared < 0 || static_cast<size_t>(declared) > Remaining()) {
            error = std::string("truncated ") + what + ": it declares " + std::to_string(declared) +
                    " bytes, " + std::to_string(Remaining()) + " are present";
            return false;
        }
        return Bytes(static_cast<size_t>(declared), out);
    }
    void Skip(size_t length) {
        if (Need(length)) pos += length;
    }

  private:
    bool Need(size_t n) {
        if (!ok || n > size - pos) ok = false;
        return ok;
    }
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    bool ok = true;
};

class ByteWriter {
  public:
    void U32(uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(v >> shift));
    }
    void U16(uint16_t v) {
        bytes.push_back(static_cast<uint8_t>(v >> 8));
        bytes.push_back(static_cast<uint8_t>(v));
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        U32(bits);
    }
    // A fixed-size text field, cut to leave room for the terminating zero, zero-padded.
    void Text(const std::string& text, size_t length) {
        size_t n = std::min(text.size(), length - 1);
        bytes.insert(bytes.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
        bytes.insert(bytes.end(), length - n, 0);
    }
    void Bytes(const std::vector<uint8_t>& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
    void Zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
    // Writes v at an earlier position (for sizes known only at the end).
    void PatchU32(size_t at, uint32_t v) {
        for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
    }
    size_t Size() const { return bytes.size(); }
    std::vector<uint8_t>& Data() { return bytes; }

  private:
    std::vector<uint8_t> bytes;
};
