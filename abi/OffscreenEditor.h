// Our plug-ins' vendor-specific extension for hosts that cannot give the editor a native window
// (Linux, until editors get an X11 window there): the host sends the editor the input a window
// would deliver and its timer ticks, and reads the editor's pixels from its back buffer. The
// command-line host uses it to drive editors by script; other hosts never send it.
//
// effVendorSpecific with index kOffscreenEditorIndex, value one of the requests below and ptr the
// request's record. Answers 1 when the editor handled the request, 0 otherwise (no editor, an
// editor with a native window, a null record, an unknown kind).
#pragma once

#include <cstdint>

constexpr int32_t kOffscreenEditorIndex = 0x5673454F;  // 'VsEO'

enum OffscreenEditorRequest : int32_t {
    kOffscreenInput = 1,   // ptr: OffscreenEditorInput
    kOffscreenPixels = 2,  // ptr: OffscreenEditorPixels, filled in by the editor
};

// What a window would receive: the messages of the Windows editor window, with the same
// coordinates (editor pixels), button and modifier flags, wheel notches and virtual-key codes.
struct OffscreenEditorInput {
    enum Kind : int32_t {
        kButtonDown = 1,   // left or right button pressed (buttons says which)
        kButtonUp = 2,     // released
        kMove = 3,         // pointer moved; a drag while a button is held
        kDoubleClick = 4,  // second left press of a double click
        kWheel = 5,        // amount notches
        kKeyDown = 6,      // amount: Windows virtual-key code; to the popup while one is open
        kCharacter = 7,    // amount: a character typed into the value popup
        kChoose = 8,       // amount: entry chosen in the value popup's list
        kTick = 9,         // one timer tick
    };
    static constexpr int32_t kLeft = 1, kRight = 2;               // buttons
    static constexpr int32_t kShift = 1, kControl = 2, kAlt = 4;  // modifiers

    int32_t kind = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t buttons = 0;
    int32_t modifiers = 0;
    int32_t amount = 0;
};

// The editor's back buffer, valid until the next request: 0xAARRGGBB pixels, rows rowSpan
// pixels apart, top row first.
struct OffscreenEditorPixels {
    int32_t width = 0;
    int32_t height = 0;
    int32_t rowSpan = 0;
    const uint32_t* pixels = nullptr;
};
