// UTF-8 <-> UTF-16 conversion and system error texts for the Windows platform files.
#pragma once

#include <string>

std::wstring WidenUtf8(const std::string& text);
std::string NarrowToUtf8(const wchar_t* text);
// "LoadLibrary error 126: The specified module could not be found." style text for an error code.
std::string SystemErrorText(unsigned long code);
