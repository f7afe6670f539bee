#pragma once

#include <cstdint>

// The editor's key code for a Windows virtual-key code (what a Windows window receives, and what
// an offscreen host sends in its place), -1 for keys the editor does not know: 0 space, 1-4 up,
// down, left, right, 5-14 the digits, 15-40 the letters. The digits and letters are their own
// virtual keys. Codes from 0x61 (the lower-case letter codes, which are the numeric keypad's keys
// from 1 on) count as letters too, except the function keys F1-F11 (0x70-0x7A) that share the
// range: F1 must not type a 'P'.
constexpr int EditorKeyFromVirtualKey(uintptr_t key) {
    constexpr uintptr_t kSpace = 0x20, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kF1 = 0x70;
    if (key == kSpace) return 0;
    if (key == kUp) return 1;
    if (key == kDown) return 2;
    if (key == kLeft) return 3;
    if (key == kRight) return 4;
    if (key >= '0' && key <= '9') return 5 + static_cast<int>(key - '0');
    if (key >= 'A' && key <= 'Z') return 15 + static_cast<int>(key - 'A');
    if (key >= 0x61 && key < kF1) return 15 + static_cast<int>(key - 0x61);
    return -1;
}
