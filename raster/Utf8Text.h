#pragma once

#include <cstdint>

// One decoded character: a 16-bit code and the bytes it took (at least 1).
struct Utf8Char {
    uint16_t code;
    int length;
};

// Decodes the character at bytes, looking at no more than `available` bytes (negative: the
// text runs up to its NUL, which no sequence can swallow). Broken or cut sequences give their
// lead byte alone; characters beyond 16 bits give a space.
Utf8Char DecodeUtf8(const unsigned char* bytes, int available);

// Whether the text (byteCount bytes, negative: up to its NUL) holds a multi-byte sequence that
// DecodeUtf8 would accept. False for null or pure-ASCII text.
bool HasUtf8Sequence(const char* text, int byteCount);
