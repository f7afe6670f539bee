#include "editor/x11/X11Keys.h"

#include "base/x11/X11Keyboard.h"

namespace {

constexpr uint32_t kKeypadSpace = 0xFF80;
constexpr uint32_t kLeft = 0xFF51, kUp = 0xFF52, kRight = 0xFF53, kDown = 0xFF54;
constexpr uint32_t kKeypadLeft = 0xFF96, kKeypadDown = 0xFF99;
// The keypad's operators and digits, '*' (0xFFAA) to '9' (0xFFB9): the same order as the
// virtual keys 0x6A-0x6F and 0x60-0x69.
constexpr uint32_t kKeypadMultiply = 0xFFAA, kKeypadDivide = 0xFFAF, kKeypad0 = 0xFFB0, kKeypad9 = 0xFFB9;
constexpr uint32_t kKeypadEnter = 0xFF8D, kReturn = 0xFF0D, kBackspace = 0xFF08, kDelete = 0xFFFF,
                   kKeypadDelete = 0xFF9F, kHome = 0xFF50, kEnd = 0xFF57, kKeypadHome = 0xFF95,
                   kKeypadEnd = 0xFF9C;

}  // namespace

uint32_t X11Keys::VirtualKey(uint32_t keysym) {
    const uint32_t vk = X11Keyboard::VirtualKeyOfKeysym(keysym);
    const bool known = vk == 0x20 || (vk >= 0x25 && vk <= 0x28) || (vk >= '0' && vk <= '9') ||
                       (vk >= 'A' && vk <= 'Z') || (vk >= 0x60 && vk <= 0x6F);
    return known ? vk : 0;
}

char X11Keys::Character(uint32_t keysym) {
    if (keysym >= 0x20 && keysym < 0x7F) return static_cast<char>(keysym);
    if (keysym >= kKeypad0 && keysym <= kKeypad9) return static_cast<char>('0' + (keysym - kKeypad0));
    if (keysym >= kKeypadMultiply && keysym <= kKeypadDivide) return "*+,-./"[keysym - kKeypadMultiply];
    if (keysym == kKeypadSpace) return ' ';
    return 0;
}

ValuePopupModel::Key X11Keys::EditKey(uint32_t keysym) {
    switch (keysym) {
        case kReturn:
        case kKeypadEnter:
            return ValuePopupModel::Key::Commit;
        case kBackspace:
            return ValuePopupModel::Key::Backspace;
        case kDelete:
        case kKeypadDelete:
            return ValuePopupModel::Key::Delete;
        case kLeft:
        case kKeypadLeft:
            return ValuePopupModel::Key::Left;
        case kRight:
        case kKeypadLeft + 2:
            return ValuePopupModel::Key::Right;
        case kUp:
        case kKeypadLeft + 1:
            return ValuePopupModel::Key::Up;
        case kDown:
        case kKeypadDown:
            return ValuePopupModel::Key::Down;
        case kHome:
        case kKeypadHome:
            return ValuePopupModel::Key::Home;
        case kEnd:
        case kKeypadEnd:
            return ValuePopupModel::Key::End;
        default:
            return ValuePopupModel::Key::None;
    }
}
