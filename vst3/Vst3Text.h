// Texts across the VST 3 boundary: the core's UTF-8 into the interface's UTF-16 fields (always
// terminated, cut to the field) and back, bounded by the field size a host's text may not exceed.
#pragma once

#include <cstddef>
#include <string>

#include "abi/Vst3Base.h"

namespace vst3text {

// Writes text into out (capacity units, terminator included); a null text writes "".
void ToUtf16(const char* text, vst3::char16* out, size_t capacity);
// The UTF-8 form of at most capacity units of text, up to its terminator; "" for null.
std::string FromUtf16(const vst3::char16* text, size_t capacity);
// Copies text into a char field, always terminated, cut to capacity.
void CopyAscii(const char* text, char* out, size_t capacity);

}  // namespace vst3text
