#pragma once

// Mouse buttons held and modifier keys at the time of a mouse event.
struct IMouseKeys {
    bool left = false;
    bool right = false;
    bool shift = false;
    bool control = false;
    bool alt = false;
};
