// Whether this build of vsthost runs under AddressSanitizer: its quarantine keeps freed memory
// resident, so resident size says nothing about leaks there (the leak checker does).
#pragma once

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif
#else
constexpr bool kUnderAddressSanitizer = false;
#endif
