#pragma once

#include <cstdint>

// Editor rectangle in pixels, origin top-left, y downwards; right and bottom are exclusive.
// Only the all-zero rectangle counts as empty: intersection and union treat it as "nothing",
// while a degenerate rectangle such as (5, 5, 5, 9) is not empty but overlaps nothing.
struct IPixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr IPixelRect() = default;
    constexpr IPixelRect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}

    constexpr bool IsEmpty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    // Computed in 64 bits so that extreme coordinates cannot overflow.
    constexpr int64_t Width() const { return int64_t{right} - left; }
    constexpr int64_t Height() const { return int64_t{bottom} - top; }
    constexpr bool Contains(int32_t x, int32_t y) const {
        return left <= x && x < right && top <= y && y < bottom;
    }
    // Neither is empty and the two share at least one pixel.
    constexpr bool Overlaps(const IPixelRect& b) const {
        return !IsEmpty() && !b.IsEmpty() && left < b.right && b.left < right && top < b.bottom &&
               b.top < bottom;
    }
    // The inner rectangle, or empty when either is empty or they do not overlap.
    constexpr IPixelRect Intersect(const IPixelRect& b) const {
        if (!Overlaps(b)) return {};
        return {left > b.left ? left : b.left, top > b.top ? top : b.top, right < b.right ? right : b.right,
                bottom < b.bottom ? bottom : b.bottom};
    }
    // The smallest rectangle holding both; an empty operand contributes nothing.
    constexpr IPixelRect Union(const IPixelRect& b) const {
        if (IsEmpty()) return b;
        if (b.IsEmpty()) return *this;
        return {left < b.left ? left : b.left, top < b.top ? top : b.top, right > b.right ? right : b.right,
                bottom > b.bottom ? bottom : b.bottom};
    }
    constexpr bool operator==(const IPixelRect&) const = default;
};
