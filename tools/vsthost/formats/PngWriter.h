// Writes screenshots as PNG files (8-bit RGB: what a window shows has no transparency).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, row after row from the top; alpha is ignored
};

// False (with error) when the picture is empty or the file cannot be written.
bool WritePng(const std::string& path, const Screenshot& shot, std::string& error);
