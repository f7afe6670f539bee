#pragma once

#include <cstdint>

// A system-exclusive message; the bytes belong to whoever made the message.
struct ISysExMessage {
    int32_t offset = 0;             // sample offset within the current audio block
    int32_t size = 0;               // byte count
    const uint8_t* data = nullptr;  // not owned
};
