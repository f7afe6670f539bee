// Moving a state between a host's IBStream and memory. A host's stream may deliver or take fewer
// bytes per call than asked; both directions loop until done or the stream stops.
#pragma once

#include <cstdint>
#include <vector>

#include "abi/Vst3Base.h"

namespace vst3stream {

// A state larger than this is not one of ours: the effect's bank is a few kilobytes.
constexpr size_t kMaxStateBytes = size_t{1} << 20;

// Reads to the end of the stream into bytes. False for a null stream, a read error or more than
// kMaxStateBytes.
bool ReadAll(vst3::IBStream* stream, std::vector<uint8_t>& bytes);
// Writes all of data; false when the stream takes less.
bool WriteAll(vst3::IBStream* stream, const void* data, size_t size);

}  // namespace vst3stream
