// The process's resident memory, for the memory-growth test. [any thread]
#pragma once

#include <cstdint>
#include <string>

// False with the reason when this platform or process cannot tell.
bool ResidentKiB(int64_t& kib, std::string& why);
