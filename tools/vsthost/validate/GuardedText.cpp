#include "tools/vsthost/validate/GuardedText.h"

#include <algorithm>
#include <cstring>

GuardedText::GuardedText(size_t characters)
    : allowed(characters + 1), bytes(allowed + kGuardBytes, static_cast<char>(kPattern)) {
    std::fill(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(allowed), '\0');
}

size_t GuardedText::Overrun() const {
    for (size_t i = bytes.size(); i > allowed; --i)
        if (static_cast<unsigned char>(bytes[i - 1]) != kPattern) return i - allowed;
    return 0;
}

bool GuardedText::Terminated() const {
    return std::memchr(bytes.data(), 0, allowed) != nullptr;
}

std::string GuardedText::Text() const {
    const char* end = static_cast<const char*>(std::memchr(bytes.data(), 0, allowed));
    return std::string(bytes.data(), end ? static_cast<size_t>(end - bytes.data()) : allowed);
}

bool IsCleanUtf8(const std::string& text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t n = text.size(), i = 0;
    while (i < n) {
        unsigned c = p[i];
        if (c < 0x80) {
            if (c < 0x20 && c != '\t') return false;
            if (c == 0x7F) return false;
            ++i;
            continue;
        }
        size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        if (len == 0 || c > 0xF4 || i + len > n) return false;
        unsigned cp = c & (0x7Fu >> len);
        for (size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i + k] & 0x3Fu);
        }
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000)) return false;
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}
