// Where toasts go: bottom right of the work area with a 20-pixel gap, never past its left or top
// edge, or centred (also on work areas left of or above the primary screen's origin).
#include <gtest/gtest.h>

#include <cstdint>

#include "windows/toast_position.h"

using base::Point;
using base::Rect;

TEST(ToastPosition, BottomRightKeepsTwentyPixelsFromTheWorkAreaEdges) {
    // A 1920 x 1080 screen with a 40-pixel taskbar at the bottom.
    EXPECT_EQ(ToastPosition(Rect{0, 0, 1920, 1040}, 201, 60, false), (Point{1920 - 201 - 20, 1040 - 60 - 20}));
    // A taskbar on the left moves the work area's left edge, not the toast.
    EXPECT_EQ(ToastPosition(Rect{60, 0, 1920, 1080}, 201, 60, false), (Point{1699, 1000}));
    // A second monitor to the left of the primary one.
    EXPECT_EQ(ToastPosition(Rect{-1280, -200, 0, 824}, 201, 60, false), (Point{-221, 744}));
}

TEST(ToastPosition, BottomRightIsPinnedToTheLeftAndTopOfASmallWorkArea) {
    // 221 pixels is exactly wide enough; one less and the toast starts at the left edge.
    EXPECT_EQ(ToastPosition(Rect{0, 0, 221, 500}, 201, 60, false).x, 0);
    EXPECT_EQ(ToastPosition(Rect{0, 0, 220, 500}, 201, 60, false).x, 0);
    EXPECT_EQ(ToastPosition(Rect{100, 0, 300, 500}, 201, 60, false).x, 100);
    EXPECT_EQ(ToastPosition(Rect{0, 0, 222, 500}, 201, 60, false).x, 1);
    EXPECT_EQ(ToastPosition(Rect{0, 50, 800, 100}, 201, 60, false), (Point{579, 50}));
    EXPECT_EQ(ToastPosition(Rect{-500, -90, -400, -50}, 201, 60, false), (Point{-500, -90}));
}

TEST(ToastPosition, CentredInTheWorkAreaTruncatingTowardZero) {
    EXPECT_EQ(ToastPosition(Rect{0, 0, 1920, 1040}, 201, 60, true), (Point{859, 490}));
    EXPECT_EQ(ToastPosition(Rect{100, 50, 1100, 651}, 201, 60, true), (Point{100 + 399, 50 + 270}));
    // Negative origins: (right - w - left) / 2 is taken before adding left.
    EXPECT_EQ(ToastPosition(Rect{-1280, -1024, 0, 0}, 201, 60, true), (Point{-1280 + 539, -1024 + 482}));
    // A work area smaller than the toast: the halves are negative and truncate toward zero.
    EXPECT_EQ(ToastPosition(Rect{-10, -10, 190, 40}, 201, 60, true), (Point{-10 + 0, -10 - 5}));
    EXPECT_EQ(ToastPosition(Rect{0, 0, 198, 57}, 201, 60, true), (Point{-1, -1}));
}

TEST(ToastSize, ShortTextsKeepTheSkinsSizeLongerOnesGrowUpToTheLimit) {
    const base::Size skin{201, 60};
    const base::Size margin{24, 18};
    EXPECT_EQ(ToastSize(skin, base::Size{177, 42}, margin, 1000), skin);
    EXPECT_EQ(ToastSize(skin, base::Size{178, 20}, margin, 1000), (base::Size{226, 60}));
    EXPECT_EQ(ToastSize(skin, base::Size{100, 43}, margin, 1000), (base::Size{201, 79}));
    EXPECT_EQ(ToastSize(skin, base::Size{460, 40}, margin, 1000), (base::Size{508, 76}));
    EXPECT_EQ(ToastSize(skin, base::Size{900, 40}, margin, 600), (base::Size{600, 76}));
    // A work area narrower than the skin never shrinks it.
    EXPECT_EQ(ToastSize(skin, base::Size{900, 20}, margin, 100), skin);
}

TEST(ToastSize, ReadingTimeGrowsWithTheTextBetweenTheMinimumAndTenSeconds) {
    EXPECT_EQ(ToastReadingMs(5, 1500), 1750u);
    EXPECT_EQ(ToastReadingMs(2, 1500), 1500u);
    EXPECT_EQ(ToastReadingMs(40, 3000), 7000u);
    EXPECT_EQ(ToastReadingMs(60, 3000), 10000u);
    EXPECT_EQ(ToastReadingMs(SIZE_MAX, 3000), 10000u);
    EXPECT_EQ(ToastReadingMs(0, 12000), 12000u);
}
