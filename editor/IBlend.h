#pragma once

#include <cstdint>

#include "raster/BlendMode.h"

// How a control's images are composited; each method selects one raster mode word.
enum IBlendMethod : int32_t {
    BlendNormal = 0,       // copy, weighted by source alpha
    BlendReplace = 1,      // copy, source alpha ignored
    BlendAdditive = 2,     // add, weighted by source alpha
    BlendColourDodge = 3,  // dodge, weighted by source alpha
};

struct IBlend {
    int32_t method = BlendNormal;
    float weight = 1.0f;

    constexpr IBlend() = default;
    constexpr explicit IBlend(int32_t m, float w = 1.0f) : method(m), weight(w) {}

    // The raster mode word; unknown methods behave as BlendNormal.
    constexpr int ModeWord() const {
        switch (method) {
            case BlendReplace:
                return BlendCopy;
            case BlendAdditive:
                return BlendAdd | BlendUseSourceAlpha;
            case BlendColourDodge:
                return BlendDodge | BlendUseSourceAlpha;
            default:
                return BlendCopy | BlendUseSourceAlpha;
        }
    }
};
