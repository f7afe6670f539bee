#pragma once

#include <cstdint>

#include "editor/ValuePopupModel.h"

// What the editor makes of X keyboard symbols, as the Windows window makes of virtual keys.
// Pure logic: any thread.
namespace X11Keys {

// The Windows virtual-key code of a keysym the editor knows (X11Keyboard's table), 0 for every
// other key: space, the arrows (the keypad's too), digits, letters (either case) and the numeric
// keypad's digits and operators (0x60-0x6F, which the editor's key table reads as letters from
// 0x61 on).
uint32_t VirtualKey(uint32_t keysym);

// The printable ASCII character a keysym types into a value entry (the keypad's digits and
// operators included), 0 for none.
char Character(uint32_t keysym);

// The key of a value popup's model a keysym is, None for characters and other keys.
ValuePopupModel::Key EditKey(uint32_t keysym);

}  // namespace X11Keys
