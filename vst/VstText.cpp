#include "vst/VstText.h"

#include <cstring>

namespace VstText {

void Copy(char* dst, const char* src, std::size_t capacity) {
    if (!dst || capacity == 0) return;
    const std::size_t n = src ? strnlen(src, capacity - 1) : 0;
    if (n) std::memcpy(dst, src, n);
    dst[n] = '\0';
}

void Read(const char* src, char (&dst)[kHostTextLimit + 1]) {
    Copy(dst, src, sizeof dst);
}

}  // namespace VstText
