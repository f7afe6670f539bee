#pragma once

#include <climits>
#include <cstdint>

#include "raster/BlendMode.h"
#include "raster/HsvColor.h"

// Per-pixel combine rules. Each takes the destination word d, a source word s (its red, green
// and blue are used), the source alpha sa (a separate argument because fills and lines feed in
// other values) and the integer weight w (256 = full). All arithmetic is exact integer
// arithmetic; divisions truncate toward zero, results keep their low 8 bits unless clamped.
// The weighted rules come in two widths with the same formulas: 32-bit for the weights where
// every product fits (the fast, vectorisable form), 64-bit beyond.
namespace blend {

// The float alpha as an integer weight (alpha * 256 truncated). NaN counts as 0; weights beyond
// what a 32-bit integer holds (|alpha| of 2^23 and more) saturate, where the conversion itself
// would be undefined.
inline int WeightFromAlpha(float alpha) {
    if (!(alpha == alpha)) return 0;
    const float scaled = alpha * 256.0f;
    if (scaled >= 2147483648.0f) return INT32_MAX;
    if (scaled < -2147483648.0f) return INT32_MIN;
    return static_cast<int>(scaled);
}

// Up to this weight (alpha 8) every rule's products stay within 32-bit arithmetic, also in fills,
// which pass the weight itself as the source alpha so that multiply and overlay grow with w * w.
constexpr int kNarrowWeight = 2048;
inline bool IsNarrow(int w) {
    return w >= -kNarrowWeight && w <= kNarrowWeight;
}

inline int Channel(uint32_t word, int index) {
    return static_cast<int>(word >> (8 * index) & 0xFF);
}

template <class Int>
inline int Clamp255(Int x) {
    return x < 0 ? 0 : (x > 255 ? 255 : static_cast<int>(x));
}

// The low 8 bits of each channel value.
template <class Int>
inline uint32_t Pack(Int b, Int g, Int r, Int a) {
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

// Rules that treat all four channels alike (alpha against the source alpha) by one formula,
// computed in Int.
template <class Derived, class Int>
struct ChannelRule {
    static uint32_t Apply(uint32_t d, uint32_t s, int sa, int w) {
        return PerChannel(d, s, sa,
                          [w](int dc, int sc) { return Derived::Channel(Int{dc}, Int{sc}, Int{w}); });
    }
};

template <class Int>
struct CopyWeightedIn : ChannelRule<CopyWeightedIn<Int>, Int> {
    static Int Channel(Int d, Int s, Int w) { return s + (d - s) * (256 - w) / 256; }
};

template <class Int>
struct AddIn : ChannelRule<AddIn<Int>, Int> {
    static Int Channel(Int d, Int s, Int w) { return Clamp255(d + s * w / 256); }
};

template <class Int>
struct DodgeIn : ChannelRule<DodgeIn<Int>, Int> {
    static Int Channel(Int d, Int s, Int w) {
        const Int k = 256 - s * w / 256;
        return k > 1 ? Clamp255(d * 256 / k) : Clamp255(d * 256);
    }
};

template <class Int>
struct MultiplyIn : ChannelRule<MultiplyIn<Int>, Int> {
    static Int Channel(Int d, Int s, Int w) { return (s * w + (256 - w) * 256) * d >> 16; }
};

template <class Int>
struct OverlayIn : ChannelRule<OverlayIn<Int>, Int> {
    static Int Channel(Int d, Int s, Int w) {
        const Int t = s * w + (256 - w) * 128;
        return Clamp255((t + (32768 - t) * d / 256) * d >> 15);
    }
};

template <class Int>
struct HsvAdjustIn {
    static uint32_t Apply(uint32_t d, uint32_t s, int sa, int w) {
        HsvColor hsv = HsvFromRgb(Channel(d, 2), Channel(d, 1), Channel(d, 0));
        const Int sr = Channel(s, 2), weight = w;
        // At most 192 * 2^31 / 256 away from 0..383: still a 32-bit value.
        hsv.h += static_cast<int>((sr + sr / 2 - 192) * weight / 256);
        if (hsv.h < 0)
            hsv.h += 384;
        else if (hsv.h >= 384)
            hsv.h -= 384;
        hsv.s = Clamp255(hsv.s + (Channel(s, 1) - 128) * weight / 128);
        hsv.v = Clamp255(hsv.v + (Channel(s, 0) - 128) * weight / 128);
        return RgbFromHsv(hsv) | static_cast<uint32_t>(sa & 0xFF) << 24;
    }
};

// ---- variants that scale the weight by each pixel's source alpha ----

// (sa + 1) / 256 of w, computed in Int: never larger than w, so a weight of the same width again.
template <class Int>
inline int SourceAlphaWeight(int sa, int w) {
    return static_cast<int>((sa + 1) * Int{w} / 256);
}

struct CopyFullSourceAlpha {
    static constexpr bool kKeepsClearSource = true;
    static uint32_t Apply(uint32_t d, uint32_t s, int sa, int) {
        if (sa == 0) return d;
        if (sa == 255) return (s & 0x00FFFFFFu) | 0xFF000000u;
        int da = Channel(d, 3) + sa;
        uint32_t colour =
            PerChannel(d, s, 0, [sa](int dc, int sc) { return sc + (dc - sc) * (255 - sa) / 256; });
        return (colour & 0x00FFFFFFu) | static_cast<uint32_t>(da > 255 ? 255 : da) << 24;
    }
};

template <class Int>
struct CopyWeightedSourceAlphaIn {
    static constexpr bool kKeepsClearSource = true;
    static uint32_t Apply(uint32_t d, uint32_t s, int sa, int w) {
        if (sa == 0) return d;
        const Int ws = SourceAlphaWeight<Int>(sa, w);
        const Int da = Channel(d, 3) + ws;
        uint32_t colour =
            PerChannel(d, s, 0, [ws](int dc, int sc) { return Int{sc} + (Int{dc} - sc) * (256 - ws) / 256; });
        return (colour & 0x00FFFFFFu) | static_cast<uint32_t>((da > 255 ? 255 : da) & 0xFF) << 24;
    }
};

// Source-alpha form of a plain rule; SkipTransparent leaves pixels with sa = 0 untouched.
template <class Rule, bool SkipTransparent, class Int>
struct WithSourceAlpha {
    static constexpr bool kKeepsClearSource = SkipTransparent;
    static uint32_t Apply(uint32_t d, uint32_t s, int sa, int w) {
        if (SkipTransparent && sa == 0) return d;
        return Rule::Apply(d, s, sa, SourceAlphaWeight<Int>(sa, w));
    }
};

// Whether a rule leaves the destination unchanged wherever the source alpha is 0, so that a
// sampler may skip the arithmetic for fully transparent source areas.
template <class Rule>
constexpr bool KeepsClearSource() {
    if constexpr (requires { Rule::kKeepsClearSource; })
        return Rule::kKeepsClearSource;
    else
        return false;
}

// The rule of the given width (Int = int or long long), ready for the dispatch below.
template <class Int>
struct Rules {
    using CopyWeighted = CopyWeightedIn<Int>;
    using Add = AddIn<Int>;
    using Dodge = DodgeIn<Int>;
    using Multiply = MultiplyIn<Int>;
    using Overlay = OverlayIn<Int>;
    using HsvAdjust = HsvAdjustIn<Int>;
    using CopyWeightedSourceAlpha = CopyWeightedSourceAlphaIn<Int>;
    using AddSourceAlpha = WithSourceAlpha<Add, true, Int>;
    using DodgeSourceAlpha = WithSourceAlpha<Dodge, false, Int>;
    using MultiplySourceAlpha = WithSourceAlpha<Multiply, true, Int>;
    using OverlaySourceAlpha = WithSourceAlpha<Overlay, false, Int>;
    using HsvAdjustSourceAlpha = WithSourceAlpha<HsvAdjust, false, Int>;
};

// Calls f(Rules<int>{}) for a narrow weight, else f(Rules<long long>{}).
template <class F>
void WithWidth(int w, F&& f) {
    if (IsNarrow(w))
        f(Rules<int>{});
    else
        f(Rules<long long>{});
}

// Calls f(Rule{}) with the plain rule 0..5 of the low byte (BlendCopy as its weighted form), of
// the width weight w needs; false for other values, which draw nothing.
template <class F>
bool WithPlainRule(int rule, int w, F&& f) {
    if (rule < BlendCopy || rule > BlendHsvAdjust) return false;
    WithWidth(w, [&](auto width) {
        using R = decltype(width);
        switch (rule) {
            case BlendCopy:
                return f(typename R::CopyWeighted{});
            case BlendAdd:
                return f(typename R::Add{});
            case BlendDodge:
                return f(typename R::Dodge{});
            case BlendMultiply:
                return f(typename R::Multiply{});
            case BlendOverlay:
                return f(typename R::Overlay{});
            default:
                return f(typename R::HsvAdjust{});
        }
    });
    return true;
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
        return WithPlainRule(rule, w, f);
    }
    if (rule == BlendCopy && w == 256) return f(CopyFullSourceAlpha{}), true;
    if (rule < BlendCopy || rule > BlendHsvAdjust) return false;
    WithWidth(w, [&](auto width) {
        using R = decltype(width);
        switch (rule) {
            case BlendCopy:
                return f(typename R::CopyWeightedSourceAlpha{});
            case BlendAdd:
                return f(typename R::AddSourceAlpha{});
            case BlendDodge:
                return f(typename R::DodgeSourceAlpha{});
            case BlendMultiply:
                return f(typename R::MultiplySourceAlpha{});
            case BlendOverlay:
                return f(typename R::OverlaySourceAlpha{});
            default:
                return f(typename R::HsvAdjustSourceAlpha{});
        }
    });
    return true;
}

// One pixel through a plain rule selected at run time (lines); other rules leave it unchanged.
inline uint32_t ApplyPlainRule(int rule, uint32_t d, uint32_t s, int sa, int w) {
    uint32_t out = d;
    WithPlainRule(rule, w, [&](auto r) { out = decltype(r)::Apply(d, s, sa, w); });
    return out;
}

}  // namespace blend
