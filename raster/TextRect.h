#pragma once

// Text box in bitmap pixels; right and bottom are exclusive. Laid out like the editor's
// rectangle (left, top, right, bottom as 32-bit integers) so callers can hand theirs over.
struct TextRect {
    int left;
    int top;
    int right;
    int bottom;
};
