#include "vst3/Vst3Text.h"

#include <cstdint>

namespace vst3text {

namespace {

// The code point starting at text[i] (advancing i); malformed bytes give U+FFFD.
char32_t NextCodePoint(const unsigned char* text, size_t& i) {
    const unsigned char lead = text[i++];
    if (lead < 0x80) return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || lead >= 0xF8) return 0xFFFD;
    char32_t cp = lead & (0x3F >> extra);
    for (; extra > 0; --extra) {
        if ((text[i] & 0xC0) != 0x80) return 0xFFFD;  // also stops at the terminator
        cp = (cp << 6) | (text[i++] & 0x3F);
    }
    return cp > 0x10FFFF ? 0xFFFD : cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

void ToUtf16(const char* text, vst3::char16* out, size_t capacity) {
    if (!out || capacity == 0) return;
    size_t n = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text ? text : "");
    for (size_t i = 0; bytes[i] != 0;) {
        const char32_t cp = NextCodePoint(bytes, i);
        const size_t units = cp >= 0x10000 ? 2 : 1;
        if (n + units >= capacity) break;
        if (units == 2) {
            out[n++] = static_cast<vst3::char16>(0xD800 + ((cp - 0x10000) >> 10));
            out[n++] = static_cast<vst3::char16>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out[n++] = static_cast<vst3::char16>(cp);
        }
    }
    out[n] = 0;
}

std::string FromUtf16(const vst3::char16* text, size_t capacity) {
    std::string out;
    if (!text) return out;
    for (size_t i = 0; i < capacity && text[i] != 0; ++i) {
        char32_t cp = text[i];
        const bool high = cp >= 0xD800 && cp < 0xDC00;
        if (high && i + 1 < capacity && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;  // a lone surrogate
        }
        AppendUtf8(out, cp);
    }
    return out;
}

void CopyAscii(const char* text, char* out, size_t capacity) {
    if (!out || capacity == 0) return;
    size_t n = 0;
    for (; text && text[n] != '\0' && n + 1 < capacity; ++n) out[n] = text[n];
    out[n] = '\0';
}

}  // namespace vst3text
