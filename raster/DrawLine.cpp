#include "raster/DrawLine.h"

#include <algorithm>
#include <cstdlib>

#include "raster/BlendMode.h"
#include "raster/BlendRules.h"

namespace {

int OutCode(int x, int y, int width, int height) {
    return (x < 0 ? 1 : 0) | (x >= width ? 2 : 0) | (y < 0 ? 4 : 0) | (y >= height ? 8 : 0);
}

int Truncate(double v) {
    return static_cast<int>(std::clamp(v, -2147483648.0, 2147483647.0));
}

// Pixel access in memory rows (the caller has already turned flipped y values around).
struct Canvas {
    uint32_t* bits;
    long long span;
    uint32_t& At(int x, int y) const { return bits[y * span + x]; }
};

// What a line does to one pixel at a given weight: mode 0 stores at 256, averages per byte at
// 128 and blends by the copy rule otherwise; modes 1..5 apply their rule with the colour's
// alpha as the source alpha.
struct LinePen {
    uint32_t colour;
    int rule;

    void Paint(uint32_t& p, int w) const {
        if (rule == BlendCopy) {
            if (w == 256)
                p = colour;
            else if (w == 128)
                p = blend::PerChannel(p, colour, static_cast<int>(colour >> 24),
                                      [](int d, int c) { return (d + c) >> 1; });
            else if (w > 0)
                p = blend::ApplyPlainRule(BlendCopy, p, colour, static_cast<int>(colour >> 24), w);
        } else if (w != 0) {
            p = blend::ApplyPlainRule(rule, p, colour, static_cast<int>(colour >> 24), w);
        }
    }

    // Coverage split of anti-aliased lines: the copy rule in mode 0, the rule itself otherwise.
    void Cover(uint32_t& p, int w) const {
        if (w != 0) p = blend::ApplyPlainRule(rule, p, colour, static_cast<int>(colour >> 24), w);
    }
};

// Horizontal and vertical runs: the exact alphas 1, 0.5, 0.25 and 0.75 in mode 0 work on whole
// words, everything else goes through the pen.
void DrawRun(const Canvas& canvas, int x, int y, int stepX, int stepY, int count, const LinePen& pen,
             float alpha, int w) {
    auto each = [&](auto op) {
        for (int i = 0; i < count; ++i) op(canvas.At(x + i * stepX, y + i * stepY));
    };
    const uint32_t c = pen.colour;
    if (pen.rule == BlendCopy) {
        if (alpha == 1.0f) return each([c](uint32_t& p) { p = c; });
        if (alpha == 0.5f) return each([c](uint32_t& p) { p = blend::MixHalf(c, p); });
        if (alpha == 0.25f) return each([c](uint32_t& p) { p = blend::MixQuarter(c, p); });
        if (alpha == 0.75f) return each([c](uint32_t& p) { p = blend::MixThreeQuarters(c, p); });
    }
    if (w != 0) each([&](uint32_t& p) { pen.Paint(p, w); });
}

void DrawDiagonal(const Canvas& canvas, int x, int y, int sx, int sy, int n, const LinePen& pen, float alpha,
                  int w, bool antialias) {
    const uint32_t c = pen.colour;
    const bool exact = pen.rule == BlendCopy && alpha == 1.0f;
    if (!exact && w == 0) return;
    for (int i = 0; i <= n; ++i, x += sx, y += sy) {
        uint32_t& p = canvas.At(x, y);
        if (!antialias) {
            if (exact)
                p = c;
            else
                pen.Paint(p, w);
            continue;
        }
        const bool last = i == n;
        if (exact) {
            p = blend::MixThreeQuarters(c, p);
            if (!last) {
                uint32_t& a = canvas.At(x + sx, y);
                uint32_t& b = canvas.At(x, y + sy);
                a = blend::MixQuarter(c, a);
                b = blend::MixQuarter(c, b);
            }
        } else {
            pen.Paint(p, static_cast<int>(3LL * w / 4));
            if (!last) {
                pen.Paint(canvas.At(x + sx, y), w / 4);
                pen.Paint(canvas.At(x, y + sy), w / 4);
            }
        }
    }
}

// Lines whose deltas differ in size, drawn from both ends toward the middle along the major
// axis; (a, b) are (major, minor) coordinates.
void DrawGeneral(const Canvas& canvas, int x1, int y1, int x2, int y2, const LinePen& pen, int w,
                 bool antialias) {
    if (w == 0) return;
    const bool xMajor = std::abs(x2 - x1) > std::abs(y2 - y1);
    int a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1, a2 = xMajor ? x2 : y2, b2 = xMajor ? y2 : x2;
    if (a2 < a1) std::swap(a1, a2), std::swap(b1, b2);
    const int length = a2 - a1;
    const int minorStep = b2 > b1 ? 1 : -1;
    const int slope = static_cast<int>(static_cast<double>(std::abs(b2 - b1)) / length * 65536.0);
    auto pixel = [&](int a, int b) -> uint32_t& { return xMajor ? canvas.At(a, b) : canvas.At(b, a); };

    int pa = a1, pb = b1, qa = a2, qb = b2;
    if (!antialias) {
        const int pairs = (length + 1) / 2;
        int fraction = 0;
        for (int k = 0; k < pairs; ++k) {
            pen.Paint(pixel(pa, pb), w);
            pen.Paint(pixel(qa, qb), w);
            ++pa, --qa;
            if (fraction + slope >= 0x8000)
                pb += minorStep, qb -= minorStep, fraction += slope - 0x10000;
            else
                fraction += slope;
        }
        if (length % 2 == 0) pen.Paint(pixel(pa, pb), w);
        return;
    }

    // Wu style: the coverage F of the pixel past the line goes to its minor-axis neighbour.
    pen.Paint(pixel(pa, pb), w);
    pen.Paint(pixel(qa, qb), w);
    int fraction = 0;
    auto split = [&](int a, int b, int towards, int f) {
        const int F = f >> 8;
        // 64-bit products: the weight may be any 32-bit value; the parts are no larger than w.
        pen.Cover(pixel(a, b), static_cast<int>((255 - F) * static_cast<long long>(w) >> 8));
        pen.Cover(pixel(a, b + towards), static_cast<int>(static_cast<long long>(w) * F >> 8));
    };
    const int steps = length / 2;  // pixels left on each side after the two ends
    for (int k = 1; k <= steps; ++k) {
        ++pa, --qa;
        fraction += slope;
        if (fraction >= 0x10000) pb += minorStep, qb -= minorStep, fraction -= 0x10000;
        split(pa, pb, minorStep, fraction);
        if (qa != pa) split(qa, qb, -minorStep, fraction);
    }
}

}  // namespace

bool ClipLine(int& x1, int& y1, int& x2, int& y2, int width, int height) {
    int code1 = OutCode(x1, y1, width, height), code2 = OutCode(x2, y2, width, height);
    for (int moves = 0; moves <= 33; ++moves) {
        if ((code1 | code2) == 0) return true;
        if (code1 & code2) return false;
        if (moves == 33) break;
        const int code = code1 ? code1 : code2;
        const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
        int x, y;
        if (code & 8)
            x = Truncate(x1 + static_cast<double>(Truncate(dx * (height - static_cast<double>(y1)) / dy))),
            y = height - 1;
        else if (code & 4)
            x = Truncate(x1 - static_cast<double>(Truncate(dx * y1 / dy))), y = 0;
        else if (code & 2)
            x = width - 1,
            y = Truncate(y1 + static_cast<double>(Truncate(dy * (width - static_cast<double>(x1)) / dx)));
        else
            x = 0, y = Truncate(y1 - static_cast<double>(Truncate(dy * x1 / dx)));
        if (code1 != 0)
            x1 = x, y1 = y, code1 = OutCode(x, y, width, height);
        else
            x2 = x, y2 = y, code2 = OutCode(x, y, width, height);
    }
    return false;
}

void DrawLine(RasterBitmap* dest, int x1, int y1, int x2, int y2, uint32_t colour, float alpha, int mode,
              bool antialias) {
    if (!dest || !dest->Bits()) return;
    const int width = dest->Width(), height = dest->Height();
    if (dest->IsFlipped()) y1 = height - 1 - y1, y2 = height - 1 - y2;
    if (!ClipLine(x1, y1, x2, y2, width, height)) return;

    const Canvas canvas{dest->Bits(), dest->RowSpan()};
    const LinePen pen{colour, mode & BlendModeMask};
    const int w = blend::WeightFromAlpha(alpha);
    if (pen.rule > BlendHsvAdjust) return;

    const int dx = x2 - x1, dy = y2 - y1;
    if (dy == 0) return DrawRun(canvas, std::min(x1, x2), y1, 1, 0, std::abs(dx) + 1, pen, alpha, w);
    if (dx == 0) return DrawRun(canvas, x1, std::min(y1, y2), 0, 1, std::abs(dy) + 1, pen, alpha, w);
    if (std::abs(dx) == std::abs(dy))
        return DrawDiagonal(canvas, x1, y1, dx > 0 ? 1 : -1, dy > 0 ? 1 : -1, std::abs(dx), pen, alpha, w,
                            antialias);
    DrawGeneral(canvas, x1, y1, x2, y2, pen, w, antialias);
}
