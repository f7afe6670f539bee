// Moving whole byte runs through the host's state streams, which may take or give fewer bytes
// per call than asked (buffered hosts pass small pieces). [main thread]
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "abi/ClapAbi.h"

// Reads until the stream's end into bytes. False, with bytes unspecified, on a read error, a read
// that claims more than was asked, or a stream longer than limit bytes.
bool ReadWholeStream(const clap_istream* stream, std::vector<uint8_t>& bytes, size_t limit);
// Writes all size bytes. False on an error, or on a write that makes no progress (which would
// otherwise loop for ever) or claims more than it was given.
bool WriteWholeStream(const clap_ostream* stream, const uint8_t* data, size_t size);
