#pragma once

#include <cstdint>

#include "raster/BlendMode.h"
#include "raster/HsvColor.h"

// Per-pixel combine rules. Each takes the destination word d, a source word s (its red, green
// and blue are used), the source alpha sa (a separate argument because fills and lines feed in
// other values) and the integer weight w (256 = full). All arithmetic is exact integer
// arithmetic; divisions truncate toward zero, results keep their low 8 bits unless clamped.
namespace blend {

// The float alpha as an integer weight (alpha * 256 truncated). NaN counts as 0, and the
// weight is held within +-1024 (alpha +-4) so that no rule can overflow 32-bit arithmetic.
inline int WeightFromAlpha(float alpha) {
    if (!(alpha == alpha)) return 0;
    float scaled = alpha * 256.0f;
    if (scaled > 1024.0f) return 1024;
    if (scaled < -1024.0f) return -1024;
    return static_cast<int>(scaled);
}

inline int Channel(uint32_t word, int index) {
    return static_cast<int>(word >> (8 * index) & 0xFF);
}

inline int Clamp255(int x) {
    return x < 0 ? 0 : (x > 255 ? 255 : x);
}

inline uint32_t Pack(int b, int g, int r, int a) {
    return static_cast<uint32_t>(b & 0xFF) | static_cast<uint32_t>(g & 0xFF) << 8 |
           static_cast<uint32_t>(r & 0xFF) << 16 | static_cast<uint32_t>(a & 0xFF) << 24;
}

// Applies op(d, s) to blue, green and red and op(dA, sa) to alpha.
template <class Op>
inline uint32_t PerChannel(uint32_t d, uint32_t s, int sa, Op op) {
    return Pack(op(Channel(d, 0), Channel(s, 0)), op(Channel(d, 1), Channel(s, 1)),
                op(Channel(d, 2), Channel(s, 2)), op(Channel(d, 3), sa));
}

// Whole-word shortcuts: each byte is the sum of separately truncated fractions.
inline uint32_t Half(uint32_t p) {
    return (p >> 1) & 0x7F7F7F7Fu;
}
inline uint32_t Quarter(uint32_t p) {
    return (p >> 2) & 0x3F3F3F3Fu;
}
inline uint32_t Eighth(uint32_t p) {
    return (p >> 3) & 0x1F1F1F1Fu;
}
inline uint32_t MixHalf(uint32_t c, uint32_t p) {
    return Half(c) + Half(p);
}
inline uint32_t MixQuarter(uint32_t c, uint32_t p) {
    return Quarter(c) + Half(p) + Quarter(p);
}
inline uint32_t MixThreeQuarters(uint32_t c, uint32_t p) {
    return Half(c) + Quarter(c) + Quarter(p);
}

// ---- plain rules ----

struct CopyFull {
    static uint32_t Apply(uint32_t, uint32_t s, int sa, int) {
        return (s & 0x00FFFFFFu) | static_cast<uint32_t>(sa & 0xFF) << 24;
    }
};

// Rules that treat all four channels alike (alpha against the source alpha) by one formula.
template <class Derived>
struct ChannelRule {
    static uint32_t Apply(uint32_t d, uint32_t s, int sa, int w) {
        return PerChannel(d, s, sa, [w](int dc, int sc) { return Derived::Channel(dc, sc, w); });
    }
};

struct CopyWeighted : ChannelRule<CopyWeighted> {
    static int Channel(int d, int s, int w) { return s + (d - s) * (256 - w) / 256; }
};

struct Add : ChannelRule<Add> {
    static int Channel(int d, int s, int w) { return Clamp255(d + s * w / 256); }
};

struct Dodge : ChannelRule<Dodge> {
    static int Channel(int d, int s, int w) {
        int k = 256 - s * w / 256;
        return k > 1 ? Clamp255(d * 256 / k) : Clamp255(d * 256);
    }
};

struct Multiply : ChannelRule<Multiply> {
    static int Channel(int d, int s, int w) { return (s * w + (256 - w) * 256) * d >> 16; }
};

struct Overlay : ChannelRule<Overlay> {
    static int Channel(int d, int s, int w) {
        int t = s * w + (256 - w) * 128;
        return Clamp255((t + (32768 - t) * d / 256) * d >> 15);
    }
};

struct HsvAdjust {
    static uint32_t Apply(uint32_t d, uint32_t s, int sa, int w) {
        HsvColor hsv = HsvFromRgb(Channel(d, 2), Channel(d, 1), Channel(d, 0));
        int sr = Channel(s, 2);
        hsv.h += (sr + sr / 2 - 192) * w / 256;
        if (hsv.h < 0)
            hsv.h += 384;
        else if (hsv.h >= 384)
            hsv.h -= 384;
        hsv.s = Clamp255(hsv.s + (Channel(s, 1) - 128) * w / 128);
        hsv.v = Clamp255(hsv.v + (Channel(s, 0) - 128) * w / 128);
        return RgbFromHsv(hsv) | static_cast<uint32_t>(sa & 0xFF) << 24;
    }
};

// ---- variants that scale the weight by each pixel's source alpha ----

inline int SourceAlphaWeight(int sa, int w) {
    return (sa + 1) * w / 256;
}

struct CopyFullSourceAlpha {
    static uint32_t Apply(uint32_t d, uint32_t s, int sa, int) {
        if (sa == 0) return d;
        if (sa == 255) return (s & 0x00FFFFFFu) | 0xFF000000u;
        int da = Channel(d, 3) + sa;
        uint32_t colour =
            PerChannel(d, s, 0, [sa](int dc, int sc) { return sc + (dc - sc) * (255 - sa) / 256; });
        return (colour & 0x00FFFFFFu) | static_cast<uint32_t>(da > 255 ? 255 : da) << 24;
    }
};

struct CopyWeightedSourceAlpha {
    static uint32_t Apply(uint32_t d, uint32_t s, int sa, int w) {
        if (sa == 0) return d;
        int ws = SourceAlphaWeight(sa, w);
        int da = Channel(d, 3) + ws;
        uint32_t colour =
            PerChannel(d, s, 0, [ws](int dc, int sc) { return sc + (dc - sc) * (256 - ws) / 256; });
        return (colour & 0x00FFFFFFu) | static_cast<uint32_t>((da > 255 ? 255 : da) & 0xFF) << 24;
    }
};

// Source-alpha form of a plain rule; SkipTransparent leaves pixels with sa = 0 untouched.
template <class Rule, bool SkipTransparent>
struct WithSourceAlpha {
    static uint32_t Apply(uint32_t d, uint32_t s, int sa, int w) {
        if (SkipTransparent && sa == 0) return d;
        return Rule::Apply(d, s, sa, SourceAlphaWeight(sa, w));
    }
};

using AddSourceAlpha = WithSourceAlpha<Add, true>;
using DodgeSourceAlpha = WithSourceAlpha<Dodge, false>;
using MultiplySourceAlpha = WithSourceAlpha<Multiply, true>;
using OverlaySourceAlpha = WithSourceAlpha<Overlay, false>;
using HsvAdjustSourceAlpha = WithSourceAlpha<HsvAdjust, false>;

// Calls f(Rule{}) with the plain rule 0..5 of the low byte (BlendCopy as its weighted form);
// false for other values, which draw nothing.
template <class F>
bool WithPlainRule(int rule, F&& f) {
    switch (rule) {
        case BlendCopy:
            return f(CopyWeighted{}), true;
        case BlendAdd:
            return f(Add{}), true;
        case BlendDodge:
            return f(Dodge{}), true;
        case BlendMultiply:
            return f(Multiply{}), true;
        case BlendOverlay:
            return f(Overlay{}), true;
        case BlendHsvAdjust:
            return f(HsvAdjust{}), true;
        default:
            return false;
    }
}

// Calls f(Rule{}) with the rule for the mode word's rule bits and source-alpha flag, for the
// operations that sample a source bitmap (Blit, RotatedBlit). False when nothing is drawn.
template <class F>
bool WithSourceRule(int mode, int w, F&& f) {
    const int rule = mode & BlendModeMask;
    if (!(mode & BlendUseSourceAlpha)) {
        if (rule == BlendCopy) {
            if (w <= 0) return false;
            if (w == 256) return f(CopyFull{}), true;
        }
        return WithPlainRule(rule, f);
    }
    switch (rule) {
        case BlendCopy:
            return w == 256 ? (f(CopyFullSourceAlpha{}), true) : (f(CopyWeightedSourceAlpha{}), true);
        case BlendAdd:
            return f(AddSourceAlpha{}), true;
        case BlendDodge:
            return f(DodgeSourceAlpha{}), true;
        case BlendMultiply:
            return f(MultiplySourceAlpha{}), true;
        case BlendOverlay:
            return f(OverlaySourceAlpha{}), true;
        case BlendHsvAdjust:
            return f(HsvAdjustSourceAlpha{}), true;
        default:
            return false;
    }
}

// One pixel through a plain rule selected at run time (lines); other rules leave it unchanged.
inline uint32_t ApplyPlainRule(int rule, uint32_t d, uint32_t s, int sa, int w) {
    uint32_t out = d;
    WithPlainRule(rule, [&](auto r) { out = decltype(r)::Apply(d, s, sa, w); });
    return out;
}

}  // namespace blend
