#pragma once

#include <cstddef>
#include <cstring>

// Bounded copy into a fixed text field: at most capacity - 1 bytes, always terminated; a null
// source gives "". Every fixed-size text of the plug-in base goes through here.
inline void CopyText(char* out, size_t capacity, const char* text) noexcept {
    if (out == nullptr || capacity == 0) return;
    size_t n = 0;
    if (text != nullptr) {
        while (n + 1 < capacity && text[n] != '\0') ++n;
        std::memcpy(out, text, n);
    }
    out[n] = '\0';
}
