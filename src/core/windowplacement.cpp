// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowplacement.h"

#include "errors.h"
#include "fulltime.h"
#include "inifile.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace vendle {

namespace {

std::optional<int> toInt(const std::string& text) {
    try {
        return StrToInt(text);
    } catch (const ConvertError&) {
        return std::nullopt;
    }
}

int overlap(int a0, int a1, int b0, int b1) {
    return std::max(0, std::min(a1, b1) - std::max(a0, b0));
}

long long distanceSquared(const Rect& r, int x, int y) {
    const long long dx = x < r.left ? r.left - x : (x > r.right ? x - r.right : 0);
    const long long dy = y < r.top ? r.top - y : (y > r.bottom ? y - r.bottom : 0);
    return dx * dx + dy * dy;
}

// The screen nearest to the window's centre (screens must not be empty).
const Rect& nearestScreen(const Rect& window, const std::vector<Rect>& screens) {
    const int cx = window.left + window.width() / 2;
    const int cy = window.top + window.height() / 2;
    const Rect* nearest = &screens.front();
    long long best = LLONG_MAX;
    for (const Rect& s : screens) {
        const long long d = distanceSquared(s, cx, cy);
        if (d < best) {
            best = d;
            nearest = &s;
        }
    }
    return *nearest;
}

} // namespace

std::string formatPlacement(const WindowPlacement& p) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%d,%d,%d,%d,%d,%d,%d,%d,%d", p.state, p.minX, p.minY, p.maxX, p.maxY,
                  p.normal.left, p.normal.top, p.normal.right, p.normal.bottom);
    return buf;
}

std::optional<WindowPlacement> parsePlacement(std::string_view text, const WindowPlacement& current) {
    const std::vector<std::string> items = splitCommaText(text);
    if (items.size() != 9)
        return std::nullopt;
    const auto state = toInt(items[0]);
    if (!state)
        return std::nullopt;
    WindowPlacement p = current;
    p.state = *state;
    int* fields[8] = {&p.minX,        &p.minY,       &p.maxX,         &p.maxY,
                      &p.normal.left, &p.normal.top, &p.normal.right, &p.normal.bottom};
    // Screen coordinates lie far inside this; anything beyond is damage, and would overflow when
    // sizes and centres are computed from it.
    constexpr int kLimit = 1'000'000;
    for (std::size_t i = 0; i < 8; ++i) {
        if (const auto v = toInt(items[i + 1])) {
            if (*v < -kLimit || *v > kLimit)
                return std::nullopt;
            *fields[i] = *v;
        }
    }
    return p;
}

std::string formatColWidths(const std::vector<int>& widths) {
    std::string out;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (i > 0)
            out += ',';
        out += std::to_string(widths[i]);
    }
    return out;
}

std::optional<std::vector<int>> parseColWidths(std::string_view text, int columnCount) {
    if (text == "0" || text.empty())
        return std::nullopt;
    const std::vector<std::string> items = splitCommaText(text);
    std::vector<int> widths;
    for (std::size_t i = 0; i < items.size() && static_cast<int>(i) < columnCount; ++i) {
        const auto v = toInt(items[i]);
        if (!v)
            return std::nullopt;
        widths.push_back(*v);
    }
    return widths;
}

Rect fitInside(const Rect& window, const std::vector<Rect>& screens, const Rect& frame) {
    if (screens.empty())
        return window;
    // The screen it overlaps most; with no overlap, the one nearest to its centre.
    const Rect* home = nullptr;
    long long most = 0;
    for (const Rect& s : screens) {
        const long long area = static_cast<long long>(overlap(window.left, window.right, s.left, s.right)) *
                               overlap(window.top, window.bottom, s.top, s.bottom);
        if (area > most) {
            most = area;
            home = &s;
        }
    }
    if (!home)
        home = &nearestScreen(window, screens);
    // The room for the client area once the decoration is there.
    const Rect room{home->left + frame.left, home->top + frame.top, home->right - frame.right,
                    home->bottom - frame.bottom};
    const int w = std::clamp(window.width(), 1, std::max(1, room.width()));
    const int h = std::clamp(window.height(), 1, std::max(1, room.height()));
    const int left = std::clamp(window.left, room.left, std::max(room.left, room.right - w));
    const int top = std::clamp(window.top, room.top, std::max(room.top, room.bottom - h));
    return Rect{left, top, left + w, top + h};
}

Rect keepOnScreen(const Rect& window, const std::vector<Rect>& screens) {
    if (screens.empty())
        return window;
    constexpr int kGrip = 32; // height of the strip that must stay reachable
    constexpr int kMinVisible = 48;
    for (const Rect& s : screens) {
        const int w = overlap(window.left, window.right, s.left, s.right);
        const int h = overlap(window.top, std::min(window.bottom, window.top + kGrip), s.top, s.bottom);
        if (w >= std::min(kMinVisible, window.width()) && h > 0 && window.top >= s.top)
            return window;
    }
    const Rect& s = nearestScreen(window, screens);
    const int w = std::clamp(window.width(), 1, s.width());
    const int h = std::clamp(window.height(), 1, s.height());
    const int left = std::clamp(window.left, s.left, s.right - w);
    const int top = std::clamp(window.top, s.top, s.bottom - h);
    return Rect{left, top, left + w, top + h};
}

} // namespace vendle
