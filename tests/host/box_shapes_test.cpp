// Rectangles and ellipses on their own: dragging one out, which part a press grabs, and how
// moving and resizing change the box.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "annotation/box_shapes.h"

static void PrintTo(const ShapeBox& b, std::ostream* os) {
    *os << "(" << b.x << "," << b.y << "," << b.width << "," << b.height << ")";
}

namespace {

// A press at (x, y), one move to (toX, toY) and the release.
void Drag(CBoxShape& shape, int x, int y, int toX, int toY) {
    shape.OnMouseDown(x, y);
    shape.OnMouseMove(toX, toY);
    shape.OnMouseUp();
}

TEST(BoxShapeCreate, DraggedBoxIsNormalizedAndKeepsTheMinimumSize) {
    ShapeConfigRegistry registry;
    CShapeRectangle thin(registry), backwards(registry), flat(registry);
    Drag(thin, 100, 100, 103, 140);
    EXPECT_EQ(thin.Box(), (ShapeBox{100, 100, 5, 40}));
    Drag(backwards, 100, 100, 60, 80);
    EXPECT_EQ(backwards.Box(), (ShapeBox{60, 80, 40, 20}));
    flat.OnMouseDown(100, 100);
    flat.OnMouseMove(150, 100);
    EXPECT_EQ(flat.Box().height, 0);
    EXPECT_FALSE(flat.IsValid());
    EXPECT_EQ(flat.HitCode(120, 100), kBoxMiss);
}

TEST(BoxShapeHit, RectangleHandlesOutlineBandsAndHollowInside) {
    ShapeConfigRegistry registry;
    CShapeRectangle rect(registry), narrow(registry), flat(registry), wider(registry);
    Drag(rect, 100, 100, 300, 200);
    EXPECT_EQ(rect.HitCode(295, 96), kBoxRight | kBoxTop);
    EXPECT_EQ(rect.HitCode(308, 208), kBoxRight | kBoxBottom);
    EXPECT_EQ(rect.HitCode(93, 150), kBoxLeft);
    EXPECT_EQ(rect.HitCode(192, 200), kBoxBottom);
    EXPECT_EQ(rect.HitCode(95, 112), kBoxBody);   // the left side away from its middle
    EXPECT_EQ(rect.HitCode(85, 150), kBoxBody);   // 15 px outside the left edge
    EXPECT_EQ(rect.HitCode(83, 150), kBoxMiss);   // 17 px outside
    EXPECT_EQ(rect.HitCode(200, 150), kBoxMiss);  // the inside is not the shape
    // Up to 32 px across, the outline bands cover the whole inside.
    Drag(narrow, 100, 100, 132, 200);
    Drag(flat, 100, 100, 300, 132);
    Drag(wider, 100, 100, 134, 200);
    EXPECT_EQ(narrow.HitCode(116, 150), kBoxBody);
    EXPECT_EQ(flat.HitCode(200, 116), kBoxBody);
    EXPECT_EQ(wider.HitCode(117, 150), kBoxMiss);
}

TEST(BoxShapeHit, EllipseWholeSidesResizeAndItsOutlineMoves) {
    ShapeConfigRegistry registry;
    CShapeEllipse small(registry), big(registry);
    Drag(small, 100, 100, 200, 160);
    EXPECT_EQ(small.HitCode(95, 112), kBoxLeft);  // far from the side's middle
    EXPECT_EQ(small.HitCode(180, 157), kBoxBottom);
    Drag(big, 100, 100, 300, 200);
    EXPECT_EQ(big.HitCode(271, 185), kBoxBody);  // on the outline
    EXPECT_EQ(big.HitCode(200, 85), kBoxBody);   // 15 px above the top
    EXPECT_EQ(big.HitCode(200, 83), kBoxMiss);   // 17 px above
    EXPECT_EQ(big.HitCode(200, 150), kBoxMiss);  // the centre
}

TEST(BoxShapeResize, RectangleEdgesJumpToThePointerEllipseEdgesFollowIt) {
    ShapeConfigRegistry registry;
    CShapeRectangle rect(registry), other(registry);
    CShapeEllipse ellipse(registry);
    for (CBoxShape* shape : std::initializer_list<CBoxShape*>{&rect, &other, &ellipse}) {
        Drag(*shape, 100, 100, 300, 200);
    }
    Drag(rect, 103, 102, 113, 122);
    Drag(ellipse, 103, 102, 113, 122);
    EXPECT_EQ(rect.Box(), (ShapeBox{113, 122, 187, 78}));
    EXPECT_EQ(ellipse.Box(), (ShapeBox{110, 120, 190, 80}));
    Drag(rect, 100, 150, 110, 170);  // the body moves by the pointer's travel
    EXPECT_EQ(rect.Box(), (ShapeBox{123, 142, 187, 78}));

    // Shrinking stops at the minimum size: 5 for rectangles, 10 for ellipses.
    Drag(rect, 310, 180, 50, 180);  // right edge past the left
    EXPECT_EQ(rect.Box(), (ShapeBox{123, 142, 5, 78}));
    Drag(other, 100, 150, 400, 150);  // left edge past the right: minimum width at the pointer
    EXPECT_EQ(other.Box(), (ShapeBox{400, 100, 5, 100}));
    Drag(ellipse, 300, 150, 50, 150);
    Drag(ellipse, 105, 200, 105, 0);
    EXPECT_EQ(ellipse.Box(), (ShapeBox{110, 120, 10, 10}));
}

// The cursor a point shows must say what a drag from there does to the box: a move shows the
// four-way arrow, one side moving the arrow across it, a corner the diagonal through it, and
// nothing happening the plain arrow.
base::CursorKind CursorForChange(const ShapeBox& before, const ShapeBox& after) {
    using K = base::CursorKind;
    const bool left = after.x != before.x, right = after.x + after.width != before.x + before.width;
    const bool top = after.y != before.y, bottom = after.y + after.height != before.y + before.height;
    if (left && right && top && bottom) return K::kSizeAll;
    if ((left || right) && !(top || bottom)) return K::kSizeWE;
    if ((top || bottom) && !(left || right)) return K::kSizeNS;
    if ((left && top) || (right && bottom)) return K::kSizeNWSE;
    if ((right && top) || (left && bottom)) return K::kSizeNESW;
    return K::kArrow;
}

template <class Shape>
void ExpectCursorsTellWhatADragDoes() {
    ShapeConfigRegistry registry;
    Shape drawn(registry);
    Drag(drawn, 100, 100, 300, 200);
    base::Point points[12];
    drawn.HandleCentres(points);
    // On the outline away from the handles, inside, and far away.
    const base::Point more[] = {{150, 100}, {200, 150}, {250, 200}, {500, 500}};
    std::copy(std::begin(more), std::end(more), points + 8);
    for (const base::Point& p : points) {
        Shape shape(registry);
        Drag(shape, 100, 100, 300, 200);
        const std::optional<base::CursorKind> shown = shape.CursorAt(p.x, p.y);
        const ShapeBox before = shape.Box();
        Drag(shape, p.x, p.y, p.x + 7, p.y + 5);
        EXPECT_EQ(shown, CursorForChange(before, shape.Box())) << p.x << "," << p.y;
    }
}

TEST(BoxShapeCursor, TheCursorAtAPointTellsWhatADragFromThereDoes) {
    ExpectCursorsTellWhatADragDoes<CShapeRectangle>();
    ExpectCursorsTellWhatADragDoes<CShapeEllipse>();
}

TEST(BoxShapeExtent, CoversThePenAndTheHandlesAtAnyLineWidth) {
    for (const float width : {1.0f, 2.0f, 5.0f, 10.0f}) {
        ShapeConfigRegistry registry;
        registry.Get<EllipseConfig>().lineWidth = width;
        CShapeEllipse ellipse(registry);
        Drag(ellipse, 100, 100, 300, 200);
        // Half the pen; (width + 3) handle squares from centre - size / 2 with a rim; smoothing.
        const int handle = static_cast<int>(width + 3);
        const int rim = static_cast<int>(std::ceil(ellipse.Config().handleOutlineWidth / 2));
        const int reach = std::max(static_cast<int>(std::ceil(width / 2)), handle - handle / 2 + rim) + 1;
        const base::Rect extent = ellipse.Extent();
        EXPECT_TRUE(extent.left <= 100 - reach && extent.top <= 100 - reach && extent.right >= 300 + reach &&
                    extent.bottom >= 200 + reach) << width;
    }
}

}  // namespace
