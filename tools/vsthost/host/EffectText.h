// An effect's identity as vsthost prints it. [any thread]
#pragma once

#include <cstdint>
#include <string>

// "930772850 (0x377A7772, '7zwr')": an ID as number, hex and four characters.
std::string DescribeFourCharCode(int32_t id);
// Names of the set effect flags, e.g. "HasEditor CanMono CanReplacing".
std::string DescribeEffectFlags(int32_t flags);
