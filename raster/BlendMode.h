#pragma once

// Mode word shared by every raster operation: combine rule in the low byte, sampling filter in
// the second byte, and a flag that scales each pixel's weight by its source alpha.
enum BlendModeBits : int {
    BlendCopy = 0,
    BlendAdd = 1,
    BlendDodge = 2,
    BlendMultiply = 3,
    BlendOverlay = 4,
    BlendHsvAdjust = 5,
    BlendChannelCopy = 0xF0,  // low nibble: destination channel << 2 | source channel
    BlendModeMask = 0xFF,
    BlendFilterMask = 0xFF00,
    BlendFilterBilinear = 0x100,
    BlendUseSourceAlpha = 0x10000,
};
