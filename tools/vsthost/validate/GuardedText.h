// A text buffer as a host hands it to a plug-in, with guard bytes behind the size the interface
// allows: the allowed part zeroed, the guard filled with a pattern that a write past the end
// changes. [any thread], one buffer per call.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The characters the interface lets a plug-in write for each text; its terminator comes on top,
// as hosts have always allowed. The parameter texts' nominal 8 characters are exceeded by nearly
// every plug-in, and hosts hand over far more: the guard sits after the extended 32 that
// plug-ins and hosts have used since.
namespace TextLimit {
constexpr size_t kEffectName = 32;
constexpr size_t kVendor = 64;
constexpr size_t kProduct = 64;
constexpr size_t kProgramName = 24;
constexpr size_t kParameterText = 32;  // names, labels, display texts
}  // namespace TextLimit

class GuardedText {
  public:
    static constexpr size_t kGuardBytes = 256;
    static constexpr unsigned char kPattern = 0xA5;

    // Room for a text of up to characters characters and its terminator.
    explicit GuardedText(size_t characters);
    char* Data() { return bytes.data(); }
    size_t Allowed() const { return allowed; }

    // How many bytes past the allowed size the plug-in wrote (0: the guard is intact).
    size_t Overrun() const;
    // A terminator within the allowed size.
    bool Terminated() const;
    // The text up to the terminator (or the allowed size).
    std::string Text() const;

  private:
    size_t allowed;
    std::vector<char> bytes;
};

// Whether text is valid UTF-8 (plain ASCII included): no stray continuation bytes, no overlong or
// surrogate forms, nothing above U+10FFFF, no control characters but tab.
bool IsCleanUtf8(const std::string& text);
