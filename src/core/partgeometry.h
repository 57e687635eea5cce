// SPDX-License-Identifier: GPL-3.0-or-later
// Geometry of the slide up-down control's parts: the arrow triangle of an up/down button and the
// pixels of a 3-D frame, computed without a screen so that they can be checked exactly.
#pragma once

#include <vector>

namespace vendle {

enum TBody { bdFull = 0, bdMedium = 1, bdLight = 2, bdNone = 3 };
enum TButtonType { btUp = 0, btDown = 1 };

struct PartPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PartPoint&, const PartPoint&) = default;
};

// ⌊n × c⌋ with c = 1/3, 2/3 or 1/10 rounded down to a 64-bit mantissa, as the arrows are sized.
int truncThird(int n);
int truncTwoThirds(int n);
int truncTenth(int n);

struct ArrowShape {
    int size = 0;    // s: 0 draws nothing, 1 a single pixel, more a filled triangle
    PartPoint left;  // (cx - (s - 1), cy)
    PartPoint right; // (cx + (s - 1), cy)
    PartPoint apex;  // (cx, ay)
};

// The arrow of a button `width` x `height` with the given body; `sizeWidth` and `sizeHeight` are
// the width and height that size the arrow (the smallest of a stacked pair).
ArrowShape arrowShape(TButtonType type, TBody body, int width, int height, int sizeWidth, int sizeHeight,
                      bool pressed);

struct FramePixels {
    std::vector<PartPoint> topLeft;
    std::vector<PartPoint> bottomRight;
};

// The pixels of a frame with inset `inset` on a `width` x `height` part: solid lines while raised,
// a checkerboard of dots otherwise. Empty when the part is narrower than 2 * inset + 1.
FramePixels framePixels(int width, int height, int inset, bool raised);

// Inset of the arrow by body: full 4, medium 3, light 2, none 0.
int arrowInset(TBody body);

// The repeat delay and interval the buttons use for a desktop's keyboard repeat setting: the delay
// becomes the nearest of the four steps (setting + 1) x 250 ms, the interval the nearest of the 32
// speed steps 1700 / (setting + 3) - 17 ms (549 ms down to 33 ms).
struct RepeatTimes {
    unsigned delay = 0;
    unsigned speed = 0;
};
RepeatTimes repeatTimesFor(unsigned delayMs, unsigned intervalMs);

} // namespace vendle
