// Whole-file reads and writes with a size limit, for files the user names (chunks, WAV, MIDI).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Fails for a missing or unreadable file and for one larger than maxBytes.
bool ReadFileBytes(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out, std::string& error);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& data, std::string& error);
