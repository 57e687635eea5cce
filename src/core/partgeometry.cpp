// SPDX-License-Identifier: GPL-3.0-or-later
#include "partgeometry.h"

#include <algorithm>
#include <cmath>

namespace vendle {

namespace {

// The constants with their 64-bit mantissas rounded down, built exactly from integers:
// floor(2^65 / 3) is the mantissa of both 1/3 (times 2^-65) and 2/3 (times 2^-64), and
// floor(2^67 / 10) that of 1/10 (times 2^-67).
constexpr unsigned long long kThirdMantissa = 12297829382473034410ULL;
constexpr unsigned long long kTenthMantissa = 14757395258967641292ULL;

int truncProduct(int n, long double c) {
    return static_cast<int>(std::trunc(static_cast<long double>(n) * c));
}

void line(std::vector<PartPoint>& out, PartPoint from, PartPoint to, bool includeEnd) {
    const int dx = (to.x > from.x) - (to.x < from.x);
    const int dy = (to.y > from.y) - (to.y < from.y);
    PartPoint p = from;
    while (!(p == to)) {
        out.push_back(p);
        p.x += dx;
        p.y += dy;
    }
    if (includeEnd)
        out.push_back(to);
}

} // namespace

int truncThird(int n) {
    static const long double c = std::ldexp(static_cast<long double>(kThirdMantissa), -65);
    return truncProduct(n, c);
}

int truncTwoThirds(int n) {
    static const long double c = std::ldexp(static_cast<long double>(kThirdMantissa), -64);
    return truncProduct(n, c);
}

int truncTenth(int n) {
    static const long double c = std::ldexp(static_cast<long double>(kTenthMantissa), -67);
    return truncProduct(n, c);
}

int arrowInset(TBody body) {
    switch (body) {
    case bdFull:
        return 4;
    case bdMedium:
        return 3;
    case bdLight:
        return 2;
    case bdNone:
        break;
    }
    return 0;
}

RepeatTimes repeatTimesFor(unsigned delayMs, unsigned intervalMs) {
    RepeatTimes t;
    const long setting = std::lround(static_cast<double>(delayMs) / 250.0) - 1;
    t.delay = static_cast<unsigned>((std::clamp(setting, 0L, 3L) + 1) * 250);
    unsigned best = 0;
    for (unsigned r = 0; r <= 31; ++r) {
        const unsigned speed = 1700 / (r + 3) - 17;
        const unsigned bestSpeed = 1700 / (best + 3) - 17;
        const auto distance = [&](unsigned v) { return v > intervalMs ? v - intervalMs : intervalMs - v; };
        if (distance(speed) < distance(bestSpeed))
            best = r;
    }
    t.speed = 1700 / (best + 3) - 17;
    return t;
}

ArrowShape arrowShape(TButtonType type, TBody body, int width, int height, int sizeWidth, int sizeHeight,
                      bool pressed) {
    const int m = arrowInset(body);
    const int w = sizeWidth;
    const int h = sizeHeight;
    int s = ((w - m) - truncThird(w - m) + 1) / 2;
    const int t = (h - m) - truncTwoThirds(h - m);
    if (t < s)
        s = t;
    int cx = (width - 1) / 2;
    const int h1 = height - 1;
    int cy = type == btUp ? (h1 + s) / 2 - truncTenth(s) : h1 - ((h1 + s) / 2 - truncTenth(s));
    if (pressed) {
        ++cx;
        ++cy;
    }
    ArrowShape shape;
    shape.size = s < 0 ? 0 : s;
    const int ay = type == btUp ? cy - (s - 1) : cy + (s - 1);
    shape.left = {cx - (s - 1), cy};
    shape.right = {cx + (s - 1), cy};
    shape.apex = {cx, ay};
    return shape;
}

FramePixels framePixels(int width, int height, int inset, bool raised) {
    FramePixels out;
    if (width < 2 * inset + 1 || height < 2 * inset + 1)
        return out;
    const int l = inset, t = inset, r = width - inset - 1, b = height - inset - 1;
    if (raised) {
        line(out.topLeft, {l, b}, {l, t}, false);
        line(out.topLeft, {l, t}, {r, t}, false);
        line(out.bottomRight, {r, t}, {r, b}, false);
        line(out.bottomRight, {r, b}, {l, b}, false);
        // The corner (L, B) ends up in the bottom-right colour.
        std::erase(out.topLeft, PartPoint{l, b});
        out.bottomRight.push_back({l, b});
        return out;
    }
    const auto dotted = [](std::vector<PartPoint>& to, PartPoint from, PartPoint end) {
        std::vector<PartPoint> all;
        line(all, from, end, true);
        for (const PartPoint& p : all) {
            if ((p.x + p.y) % 2 == 0)
                to.push_back(p);
        }
    };
    dotted(out.topLeft, {l, b}, {l, t});
    dotted(out.topLeft, {l, t}, {r, t});
    dotted(out.bottomRight, {r, t}, {r, b});
    dotted(out.bottomRight, {r, b}, {l, b});
    return out;
}

} // namespace vendle
