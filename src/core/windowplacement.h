// SPDX-License-Identifier: GPL-3.0-or-later
// Stored window placement ("FormBounds": nine integers) and grid column widths ("Grid": a comma
// list), their text forms, and keeping a restored window on a screen.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vendle {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct WindowPlacement {
    enum State { Normal = 0, Minimized = 1, Maximized = 2 };

    int state = Normal;
    // Minimised and maximised positions have no meaning on every platform; -1 where unknown.
    int minX = -1, minY = -1, maxX = -1, maxY = -1;
    Rect normal;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// "%d,%d,%d,%d,%d,%d,%d,%d,%d": state, minimised x y, maximised x y, normal left top right bottom.
std::string formatPlacement(const WindowPlacement& placement);

// Reads a stored placement on top of `current`. nullopt unless there are exactly nine items and the
// first is an integer; later items that are not integers keep the current value.
std::optional<WindowPlacement> parsePlacement(std::string_view text, const WindowPlacement& current);

// Widths joined by commas without blanks.
std::string formatColWidths(const std::vector<int>& widths);

// Widths for the first min(items, columnCount) columns; nullopt for the default "0", for an empty
// value and when an item that would be used is not an integer.
std::optional<std::vector<int>> parseColWidths(std::string_view text, int columnCount);

// Moves and shrinks `window` onto the screen nearest to it unless its top strip (where it is
// grabbed to be moved) is already reachable on one of `screens`. No screens: unchanged.
Rect keepOnScreen(const Rect& window, const std::vector<Rect>& screens);

// The window (its client area; `frame` the decoration's width on each side) shrunk to and moved
// into the screen it overlaps most, or the nearest: where it opens whole, at any scale. No
// screens: unchanged.
Rect fitInside(const Rect& window, const std::vector<Rect>& screens, const Rect& frame = {});

} // namespace vendle
