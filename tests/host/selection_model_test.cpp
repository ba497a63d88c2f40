#include <gtest/gtest.h>

#include "capture/selection_model.h"

using namespace capture;

namespace {

const Rect kScreen{0, 0, 1920, 1080};

// Drags out a selection from a to b and releases there.
SelectionModel Selected(Point a, Point b, const Rect& screen = kScreen) {
    SelectionModel model(screen);
    model.Press(a, true);
    model.Drag(b, true);
    model.Release(b);
    return model;
}

}  // namespace

TEST(SelectionHitTest, HandlesInsideAndOutside) {
    const Rect sel{100, 100, 300, 200};
    EXPECT_EQ(HitTest(sel, kScreen, {100, 100}), kHitTopLeft);
    EXPECT_EQ(HitTest(sel, kScreen, {92, 108}), kHitTopLeft);   // tolerance 8, inclusive
    EXPECT_EQ(HitTest(sel, kScreen, {91, 100}), kHitOutside);
    EXPECT_EQ(HitTest(sel, kScreen, {200, 95}), kHitTop);
    EXPECT_EQ(HitTest(sel, kScreen, {305, 100}), kHitTopRight);
    EXPECT_EQ(HitTest(sel, kScreen, {300, 150}), kHitRight);
    EXPECT_EQ(HitTest(sel, kScreen, {300, 200}), kHitBottomRight);
    EXPECT_EQ(HitTest(sel, kScreen, {200, 200}), kHitBottom);
    EXPECT_EQ(HitTest(sel, kScreen, {100, 200}), kHitBottomLeft);
    EXPECT_EQ(HitTest(sel, kScreen, {100, 150}), kHitLeft);
    EXPECT_EQ(HitTest(sel, kScreen, {200, 150}), kHitInside);
    EXPECT_EQ(HitTest(sel, kScreen, {300, 120}), kHitInside);   // an edge away from a handle
    EXPECT_EQ(HitTest(sel, kScreen, {301, 120}), kHitOutside);
    // An inverted rectangle hit-tests like its normal form.
    EXPECT_EQ(HitTest(Rect{300, 200, 100, 100}, kScreen, {100, 100}), kHitTopLeft);
}

TEST(SelectionHitTest, LeftEdgeMidpointVersusFurtherDown) {
    const Rect sel{100, 100, 400, 400};  // midpoint of the left edge at y = 250
    EXPECT_EQ(HitTest(sel, kScreen, {105, 257}), kHitLeft);
    EXPECT_EQ(HitTest(sel, kScreen, {100, 290}), kHitInside);
}

TEST(SelectionHitTest, NegativeVirtualScreenOrigin) {
    const Rect screen{-1280, 0, 1920, 1080};
    const Rect sel{-1000, 100, -800, 300};
    EXPECT_EQ(HitTest(sel, screen, {-1000, 100}), kHitTopLeft);
    EXPECT_EQ(HitTest(sel, screen, {-900, 200}), kHitInside);
    EXPECT_EQ(HitTest(sel, screen, {0, 0}), kHitOutside);
}

TEST(SelectionModel, ShortDragLeavesNoSelection) {
    SelectionModel model = Selected({100, 100}, {109, 300});
    EXPECT_FALSE(model.HasSelection());
    EXPECT_EQ(model.Selection(), Rect{});
    // The next drag starts a new selection.
    model.Press({50, 50}, true);
    EXPECT_TRUE(model.Creating());
    model.Drag({150, 90}, true);
    EXPECT_TRUE(model.Release({150, 90}));
    EXPECT_EQ(model.Selection(), (Rect{50, 50, 150, 90}));
}

TEST(SelectionModel, CreatingUpwardsIsNormalisedOnRelease) {
    SelectionModel model(kScreen);
    model.Press({300, 300}, true);
    const auto drag = model.Drag({100, 120}, true);
    EXPECT_EQ(model.Selection(), (Rect{300, 300, 100, 120}));  // inverted while dragging
    EXPECT_EQ(drag.cursor, Cursor::kCross);  // an inverted rectangle contains nothing
    EXPECT_TRUE(model.Release({100, 120}));
    EXPECT_EQ(model.Selection(), (Rect{100, 120, 300, 300}));
    // Dragged down and right, the pointer sits on the bottom-right handle.
    SelectionModel down(kScreen);
    down.Press({10, 10}, true);
    EXPECT_EQ(down.Drag({200, 200}, true).cursor, Cursor::kSizeNWSE);
}

TEST(SelectionModel, PressOutsideChangesNothing) {
    SelectionModel model = Selected({100, 100}, {300, 200});
    const auto press = model.Press({600, 600}, true);
    EXPECT_FALSE(model.Moving());
    EXPECT_FALSE(model.Resizing());
    EXPECT_FALSE(model.Creating());
    EXPECT_FALSE(press.forwardToShapes);
    model.Drag({700, 700}, true);
    EXPECT_FALSE(model.Release({700, 700}));
    EXPECT_EQ(model.Selection(), (Rect{100, 100, 300, 200}));
}

TEST(SelectionModel, MovingNarrowsAgainstTheScreenEdge) {
    SelectionModel model = Selected({100, 100}, {300, 200});
    const auto press = model.Press({200, 150}, true);
    EXPECT_TRUE(model.Moving());
    EXPECT_FALSE(press.showToolbar);
    model.Drag({50, 150}, true);  // left edge would go to -50
    EXPECT_EQ(model.Selection(), (Rect{0, 100, 150, 200}));
    EXPECT_TRUE(model.Release({50, 150}));
    // With a tool active or shapes drawn the inside no longer moves, but handles still resize.
    const auto inside = model.Press({100, 150}, false);
    EXPECT_FALSE(model.Moving());
    EXPECT_TRUE(inside.forwardToShapes);
    EXPECT_EQ(model.Drag({100, 150}, false).cursor, Cursor::kArrow);
    model.Release({100, 150});
    model.Press({150, 150}, false);  // the right-middle handle
    EXPECT_TRUE(model.Resizing());
}

TEST(SelectionModel, ResizingPastTheOppositeEdge) {
    // The left handle dragged past the right edge by less than the minimum size.
    SelectionModel model = Selected({100, 100}, {300, 300});
    model.Press({100, 200}, true);
    ASSERT_EQ(model.ResizeHitCode(), kHitLeft);
    model.Drag({305, 200}, true);
    EXPECT_EQ(model.Selection(), (Rect{290, 100, 300, 300}));  // 10 wide, ending at the right edge
    // Further: inverted until the release normalises it.
    model.Drag({340, 200}, true);
    EXPECT_EQ(model.Selection(), (Rect{325, 100, 300, 300}));
    EXPECT_TRUE(model.Release({340, 200}));
    EXPECT_EQ(model.Selection(), (Rect{300, 100, 325, 300}));
    // The bottom handle taken above the top edge: the bottom stays the minimum size under it.
    model.Press({312, 300}, true);
    ASSERT_EQ(model.ResizeHitCode(), kHitBottom);
    model.Drag({312, 95}, true);
    EXPECT_EQ(model.Selection(), (Rect{300, 100, 325, 110}));
}

TEST(SelectionModel, ResizeAndPressForwarding) {
    SelectionModel model = Selected({100, 100}, {300, 300});
    const auto handle = model.Press({300, 300}, true);
    EXPECT_TRUE(model.Resizing());
    EXPECT_FALSE(handle.forwardToShapes);
    EXPECT_FALSE(handle.showToolbar);
    model.Drag({400, 350}, true);
    EXPECT_EQ(model.Selection(), (Rect{100, 100, 400, 350}));
    model.Drag({5000, 5000}, true);  // clamped to the screen
    EXPECT_EQ(model.Selection(), (Rect{100, 100, 1920, 1080}));
    EXPECT_TRUE(model.Release({5000, 5000}));
    // Cursor outside the inflated selection: arrow once a selection exists.
    EXPECT_EQ(model.Drag({50, 50}, true).cursor, Cursor::kArrow);
    EXPECT_FALSE(model.Drag({50, 50}, true).forwardToShapes);
    EXPECT_TRUE(model.Drag({97, 200}, true).forwardToShapes);  // within the 5-pixel margin
}

TEST(SelectionModel, TheScreensLastColumnAndRowCanBeTaken) {
    // The pixel where a drag ends stays outside, except on the last column and row, which the
    // pointer cannot pass.
    EXPECT_EQ(Selected({100, 100}, {400, 250}).Selection(), (Rect{100, 100, 400, 250}));
    EXPECT_EQ(Selected({100, 100}, {1918, 1078}).Selection(), (Rect{100, 100, 1918, 1078}));
    EXPECT_EQ(Selected({0, 0}, {1919, 1079}).Selection(), (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(Selected({1919, 1079}, {1000, 500}).Selection(), (Rect{1000, 500, 1920, 1080}));
    const Rect twoMonitors{-1280, -200, 1920, 1080};
    EXPECT_EQ(Selected({-1280, -200}, {1919, 1079}, twoMonitors).Selection(), twoMonitors);
}

TEST(SelectionModel, ResizingToTheScreensLastColumnAndRow) {
    // The bottom-right handle taken 3 and 2 pixels off its corner.
    SelectionModel model = Selected({100, 100}, {300, 300});
    model.Press({303, 302}, true);
    ASSERT_EQ(model.ResizeHitCode(), kHitBottomRight);
    model.Drag({1919, 1079}, true);
    EXPECT_EQ(model.Selection(), (Rect{100, 100, 1920, 1080}));
    // Back from the edge, the corner keeps its offset from the pointer.
    model.Drag({1900, 1000}, true);
    EXPECT_EQ(model.Selection(), (Rect{100, 100, 1897, 998}));
    model.Drag({1919, 1079}, true);
    EXPECT_TRUE(model.Release({1919, 1079}));
    EXPECT_EQ(model.Selection(), (Rect{100, 100, 1920, 1080}));
    // The left and top handles dragged across to the far column and row.
    SelectionModel across = Selected({100, 100}, {300, 300});
    across.Press({100, 200}, true);
    across.Drag({1919, 200}, true);
    across.Release({1919, 200});
    EXPECT_EQ(across.Selection(), (Rect{300, 100, 1920, 300}));
    across.Press({1110, 100}, true);  // the top handle
    ASSERT_EQ(across.ResizeHitCode(), kHitTop);
    across.Drag({1000, 1079}, true);
    across.Release({1000, 1079});
    EXPECT_EQ(across.Selection(), (Rect{300, 300, 1920, 1080}));
}

TEST(ToolbarPlacement, BelowAboveAndOnScreen) {
    // Right-aligned 10 pixels under the selection.
    EXPECT_EQ(PlaceToolbar({100, 100, 800, 400}, 592, 84, kScreen).x, 208);
    EXPECT_EQ(PlaceToolbar({100, 100, 800, 400}, 592, 84, kScreen).y, 410);
    // No room below: above.
    EXPECT_EQ(PlaceToolbar({100, 500, 800, 1000}, 592, 84, kScreen).y, 406);
    // No room above either: pulled onto the screen.
    EXPECT_EQ(PlaceToolbar({0, 50, 1920, 1000}, 592, 84, kScreen).y, 0);
    // A narrow selection near the left edge keeps the toolbar on screen.
    EXPECT_EQ(PlaceToolbar({10, 10, 100, 100}, 592, 84, kScreen).x, 0);
    // A selection filling the screen height: no room below or above, so the screen's top edge.
    const Point full = PlaceToolbar({0, 0, 1920, 1080}, 592, 84, kScreen);
    EXPECT_EQ(full.y, 0);
    EXPECT_EQ(full.x, 1920 - 592);
    EXPECT_EQ(PlaceToolbar({-1280, 0, -100, 500}, 592, 84, Rect{-1280, 0, 1920, 1080}).x, -692);
}

TEST(ToolbarPlacement, VirtualScreenOfTwoMonitors) {
    // The second monitor right of the primary: the toolbar may stand anywhere on either.
    const Rect right{0, 0, 3840, 1080};
    EXPECT_EQ(PlaceToolbar({3000, 100, 3500, 400}, 592, 84, right), (Point{2908, 410}));
    EXPECT_EQ(PlaceToolbar({1800, 100, 2100, 400}, 592, 84, right), (Point{1508, 410}));
    EXPECT_EQ(PlaceToolbar({3400, 900, 3840, 1050}, 592, 84, right), (Point{3248, 806}));
    EXPECT_EQ(PlaceToolbar({3300, 0, 3840, 1080}, 592, 84, right), (Point{3248, 0}));
    // The second monitor left of the primary and higher up: negative coordinates are kept.
    const Rect left{-1920, -300, 1920, 1080};
    EXPECT_EQ(PlaceToolbar({-1900, 100, -1800, 200}, 592, 84, left), (Point{-1920, 210}));
    EXPECT_EQ(PlaceToolbar({-1900, -300, -1000, 1000}, 592, 84, left), (Point{-1592, -300}));
    EXPECT_EQ(PlaceToolbar({-1000, -250, -500, 990}, 592, 84, left), (Point{-1092, -300}));
    EXPECT_EQ(PlaceToolbar({-300, 500, 300, 700}, 592, 84, left), (Point{-292, 710}));
}
