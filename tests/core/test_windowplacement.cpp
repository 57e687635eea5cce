// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/windowplacement.h"

#include <gtest/gtest.h>

using namespace vendle;

TEST(WindowPlacement, TextRoundTrip) {
    WindowPlacement p;
    p.state = WindowPlacement::Maximized;
    p.normal = {10, 20, 650, 420};
    EXPECT_EQ(formatPlacement(p), "2,-1,-1,-1,-1,10,20,650,420");
    const auto back = parsePlacement(formatPlacement(p), WindowPlacement{});
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, p);
}

TEST(WindowPlacement, OnlyNineItemsCount) {
    const WindowPlacement current{0, -1, -1, -1, -1, {1, 2, 3, 4}};
    EXPECT_FALSE(parsePlacement("0,-1,-1,-1,-1,10,20,650", current));
    EXPECT_FALSE(parsePlacement("0,-1,-1,-1,-1,10,20,650,420,5", current));
    EXPECT_FALSE(parsePlacement("", current));
    EXPECT_FALSE(parsePlacement("x,-1,-1,-1,-1,10,20,650,420", current)); // state must be an integer
    // A coordinate that is no integer keeps the current one.
    const auto p = parsePlacement("0,-1,-1,-1,-1,abc,20,650,", current);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->normal, (Rect{1, 20, 650, 4}));
}

TEST(ColumnWidths, ParseAndFormat) {
    EXPECT_EQ(formatColWidths({40, 200, 300, 100, 130}), "40,200,300,100,130");
    EXPECT_FALSE(parseColWidths("0", 5));
    EXPECT_FALSE(parseColWidths("", 5));
    EXPECT_EQ(*parseColWidths("40,200", 5), (std::vector<int>{40, 200}));
    EXPECT_EQ(*parseColWidths("1,2,3,4,5,6,7", 5), (std::vector<int>{1, 2, 3, 4, 5})); // extras ignored
    EXPECT_FALSE(parseColWidths("40,wide,300", 5));
    EXPECT_EQ(*parseColWidths("40,200,300,wide", 3), (std::vector<int>{40, 200, 300})); // unused item
}

TEST(KeepOnScreen, LeavesReachableWindowsAndPullsBackLostOnes) {
    const std::vector<Rect> screens = {{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
    const Rect visible{100, 100, 740, 500};
    EXPECT_EQ(keepOnScreen(visible, screens), visible);
    const Rect spanning{1800, 100, 2400, 500}; // across both screens
    EXPECT_EQ(keepOnScreen(spanning, screens), spanning);
    EXPECT_EQ(keepOnScreen(visible, {}), visible);

    // Saved on a third screen that is gone: moved onto the nearest one, size kept.
    EXPECT_EQ(keepOnScreen({4000, 200, 4640, 600}, screens), (Rect{2560, 200, 3200, 600}));
    // Title bar above the top edge: pulled down.
    EXPECT_EQ(keepOnScreen({100, -300, 740, 100}, screens), (Rect{100, 0, 740, 400}));
    // Larger than the screen: shrunk to fit.
    EXPECT_EQ(keepOnScreen({-5000, -5000, 5000, 5000}, {{0, 0, 800, 600}}), (Rect{0, 0, 800, 600}));
}

TEST(FitInside, EveryWindowOpensWholeOnTheScreenItBelongsTo) {
    const std::vector<Rect> screens = {{0, 0, 1280, 994}, {1280, 0, 2560, 1024}}; // a panel below the first
    const Rect frame{4, 30, 4, 4};
    // Inside already, frame and all: unchanged.
    EXPECT_EQ(fitInside({100, 100, 740, 500}, screens, frame), (Rect{100, 100, 740, 500}));
    // Bounds saved at twice the scale: shrunk to the screen's room, its title bar on the screen.
    EXPECT_EQ(fitInside({230, 125, 1766, 1181}, screens, frame), (Rect{4, 30, 1276, 990}));
    // Across both screens: onto the one it overlaps most.
    EXPECT_EQ(fitInside({1100, 100, 1740, 500}, screens, frame), (Rect{1284, 100, 1924, 500}));
    // Below every screen: onto the nearest, its bottom above the panel.
    EXPECT_EQ(fitInside({300, 2000, 940, 2400}, screens, frame), (Rect{300, 590, 940, 990}));
    EXPECT_EQ(fitInside({-5, -5, 10, 10}, {}, frame), (Rect{-5, -5, 10, 10}));
    const Rect far{-1'000'000, -1'000'000, 1'000'000, 1'000'000};
    EXPECT_EQ(fitInside(far, {Rect{0, 0, 1280, 800}}), (Rect{0, 0, 1280, 800}));
}

TEST(WindowPlacement, HandEditedExtremesAreRefusedNotOverflowed) {
    const WindowPlacement current{};
    EXPECT_FALSE(parsePlacement("0,-1,-1,-1,-1,-2147483648,0,2147483647,100", current).has_value());
    EXPECT_FALSE(parsePlacement("0,-1,-1,-1,-1,0,0,0x7FFFFFFF,100", current).has_value());
    const auto fine = parsePlacement("0,-1,-1,-1,-1,-20,10,800,600", current);
    ASSERT_TRUE(fine.has_value());
    EXPECT_EQ(fine->normal.width(), 820);
    // A window far off every screen comes back without overflowing on the way.
    const Rect far{-1'000'000, -1'000'000, 1'000'000, 1'000'000};
    const Rect placed = keepOnScreen(far, {Rect{0, 0, 1280, 800}});
    EXPECT_EQ(placed.width(), 1280);
}
