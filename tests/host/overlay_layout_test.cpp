#include <gtest/gtest.h>

#include "capture/overlay_layout.h"

using namespace capture;

namespace {

const Rect kScreen{0, 0, 1920, 1080};

bool Same(Point a, Point b) { return a.x == b.x && a.y == b.y; }

}  // namespace

TEST(Magnifier, FollowFlipsAtThePrimaryMonitorEdges) {
    EXPECT_TRUE(Same(FollowMagnifier({100, 100}, kScreen, kScreen), {110, 110}));
    EXPECT_TRUE(Same(FollowMagnifier({1800, 100}, kScreen, kScreen), {1800 - 10 - 172, 110}));
    EXPECT_TRUE(Same(FollowMagnifier({100, 1000}, kScreen, kScreen), {110, 1000 - 10 - 172}));
    // A second monitor to the left: client coordinates start at the virtual screen's left.
    const Rect wide{-1280, 0, 1920, 1080};
    EXPECT_TRUE(Same(FollowMagnifier({-1200, 100}, kScreen, wide), {-1190 + 1280, 110}));
}

TEST(Magnifier, FollowFlipsAtThePrimaryMonitorWithASecondMonitorToTheRight) {
    const Rect primary{0, 0, 1920, 1080};
    const Rect both{0, 0, 3840, 1080};
    // Near the primary's right edge there is room on the second monitor, yet it flips.
    EXPECT_TRUE(Same(FollowMagnifier({1800, 100}, primary, both), {1800 - 10 - 172, 110}));
    EXPECT_TRUE(Same(FollowMagnifier({1740, 100}, primary, both), {1740 - 10 - 172, 110}));
    // Just far enough from it: no flip.
    EXPECT_TRUE(Same(FollowMagnifier({1737, 100}, primary, both), {1747, 110}));
    // On the second monitor every point is past the primary's right edge: always left of the
    // cursor; vertically the primary's bottom still decides.
    EXPECT_TRUE(Same(FollowMagnifier({2500, 100}, primary, both), {2500 - 10 - 172, 110}));
    EXPECT_TRUE(Same(FollowMagnifier({3830, 1000}, primary, both), {3830 - 10 - 172, 1000 - 10 - 172}));
    EXPECT_TRUE(Same(FollowMagnifier({2000, 800}, primary, both), {2000 - 10 - 172, 810}));
}

TEST(Magnifier, CornerModeJumpsAwayFromTheCursorAndBack) {
    CornerMagnifier corner;
    const Point first = corner.Place({500, 500}, kScreen);
    EXPECT_TRUE(Same(first, {1920 - 20 - 172, 10}));
    EXPECT_FALSE(corner.flipped);
    // The cursor comes near the magnifier's centre: bottom-left, the panel 15 above the bottom.
    const Point jumped = corner.Place({1920 - 20 - 86, 10 + 86}, kScreen);
    EXPECT_TRUE(corner.flipped);
    EXPECT_TRUE(Same(jumped, {20, 1080 - 172 - 110 - 15}));
    // Far away again: it stays; near it: back to the top-right.
    EXPECT_TRUE(Same(corner.Place({1900, 20}, kScreen), jumped));
    EXPECT_TRUE(Same(corner.Place({20 + 86, jumped.y + 86}, kScreen), first));
}

TEST(Magnifier, SourceSquareIsClippedToTheScreen) {
    const MagnifierCopy middle = MagnifierSource({500, 400}, 1920, 1080);
    EXPECT_EQ(middle.source, (Rect{479, 379, 522, 422}));  // 43 pixels around the cursor
    EXPECT_EQ(middle.dest, (Rect{0, 0, 172, 172}));
    // 5 pixels from the left edge: the left 16 source columns are off screen and stay black.
    const MagnifierCopy left = MagnifierSource({5, 400}, 1920, 1080);
    EXPECT_EQ(left.source.left, 0);
    EXPECT_EQ(left.dest.left, 16 * 4);
    EXPECT_EQ(left.dest.right, 172);
    const MagnifierCopy corner = MagnifierSource({1919, 1079}, 1920, 1080);
    EXPECT_EQ(corner.source, (Rect{1898, 1058, 1920, 1080}));
    EXPECT_EQ(corner.dest, (Rect{0, 0, 88, 88}));
    EXPECT_EQ(MagnifierSource({-100, -100}, 1920, 1080).source, Rect{});
}

TEST(Magnifier, InfoPanelUnderOrAbove) {
    EXPECT_TRUE(Same(PlaceInfoPanel({110, 110}, false, 1920, 1080), {110, 282}));
    EXPECT_TRUE(Same(PlaceInfoPanel({20, 783}, true, 1920, 1080), {20, 955}));
    EXPECT_TRUE(Same(PlaceInfoPanel({110, 900}, false, 1920, 1080), {110, 900 - 110 - 5}));
    EXPECT_TRUE(Same(PlaceInfoPanel({1800, 100}, false, 1920, 1080), {1920 - 172, 272}));
}

TEST(ColorTexts, HexAndDecimal) {
    EXPECT_EQ(HexColorText(1, 2, 3), L"HEX: 01 02 03");
    EXPECT_EQ(DecimalColorText(1, 2, 3), L"RGB: 1, 2, 3");
    EXPECT_EQ(HexColorText(255, 255, 255), L"HEX: FF FF FF");
    EXPECT_EQ(DecimalColorText(255, 255, 255), L"RGB: 255, 255, 255");
    EXPECT_EQ(HexColorText(0x1A, 0x2B, 0x3C), L"HEX: 1A 2B 3C");
    EXPECT_EQ(ColorCopyToastText(L"HEX: 1A 2B 3C"), L"HEX: 1A 2B 3C  \u5DF2\u590D\u5236");
}

TEST(SizeLabel, TextForms) {
    EXPECT_EQ(SizeLabelText({10, 20, 110, 70}, true, {0, 0}), L"Size: 100\u00D750  Pos: 10,20 \u2192 110,70");
    EXPECT_EQ(SizeLabelText({10, 20, 110, 70}, false, {110, 70}), L"Size: 100\u00D750  Cursor: 110,70");
}

TEST(SizeLabel, AboveInsideOrBelow) {
    // Room above: 3 pixels above the selection.
    EXPECT_TRUE(Same(PlaceSizeLabel({100, 100, 300, 200}, 150, 16, kScreen), {102, 81}));
    // Touching the top: inside its top-left corner.
    EXPECT_TRUE(Same(PlaceSizeLabel({100, 0, 300, 200}, 150, 16, kScreen), {102, 2}));
    // Touching the top and too low for the text with its margins: below it.
    EXPECT_TRUE(Same(PlaceSizeLabel({100, 0, 300, 15}, 150, 16, kScreen), {102, 18}));
    EXPECT_TRUE(Same(PlaceSizeLabel({100, 0, 300, 19}, 150, 16, kScreen), {102, 22}));
    EXPECT_TRUE(Same(PlaceSizeLabel({100, 0, 300, 20}, 150, 16, kScreen), {102, 2}));
    // ... unless below would leave the screen: then inside after all.
    EXPECT_TRUE(Same(PlaceSizeLabel({100, 0, 300, 15}, 150, 16, Rect{0, 0, 1920, 30}), {102, 2}));
    // At the right edge: right-aligned 2 pixels from it.
    EXPECT_TRUE(Same(PlaceSizeLabel({1850, 100, 1920, 200}, 150, 16, kScreen), {1920 - 150 - 2, 81}));
    // Exactly room enough, above and on the right: where it would be anyway.
    EXPECT_TRUE(Same(PlaceSizeLabel({1768, 19, 1900, 200}, 150, 16, kScreen), {1770, 0}));
    EXPECT_TRUE(Same(PlaceSizeLabel({1769, 19, 1900, 200}, 150, 16, kScreen), {1768, 0}));
    // Wider than the screen: from its left edge.
    EXPECT_TRUE(Same(PlaceSizeLabel({100, 100, 300, 200}, 2000, 16, kScreen), {2, 81}));
}
