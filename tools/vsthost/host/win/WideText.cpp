#include "tools/vsthost/host/win/WideText.h"

#include <windows.h>

#include <cwchar>

std::wstring WidenUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string NarrowToUtf8(const wchar_t* text) {
    if (!text || !*text) return std::string();
    int length = static_cast<int>(std::wcslen(text));
    int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, narrow.data(), n, nullptr, nullptr);
    return narrow;
}

std::string SystemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = "error " + std::to_string(code);
    if (n && buffer) {
        std::string message = NarrowToUtf8(buffer);
        while (!message.empty() &&
               (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
            message.pop_back();
        if (!message.empty()) text += ": " + message;
    }
    if (buffer) LocalFree(buffer);
    return text;
}
