#pragma once

#include <cstdio>

// Opens a file named by a UTF-8 path for binary reading; null when it cannot be opened.
std::FILE* OpenFileForReading(const char* utf8Path);
