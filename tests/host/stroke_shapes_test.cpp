// The arrow, the straight line, the freehand line and the mosaic: their geometry, what grabs
// them, and how presses, drags and releases draw, move and stretch them.
#include <gtest/gtest.h>

#include "annotation/mosaic_shape.h"
#include "annotation/stroke_shapes.h"

namespace {

template <class Shape>
void Drag(Shape& shape, int x0, int y0, int x1, int y1) {
    shape.OnMouseDown(x0, y0);
    shape.OnMouseMove(x1, y1);
    shape.OnMouseUp();
}

void ExpectNear(FloatPoint p, float x, float y) {
    EXPECT_NEAR(p.x, x, 0.01);
    EXPECT_NEAR(p.y, y, 0.01);
}

TEST(ArrowShape, GeometryOfTheShaftAndHead) {
    ArrowConfig config;
    const ArrowOutline arrow = ArrowGeometry(FloatPoint{100, 100}, FloatPoint{200, 100}, config);
    ExpectNear(arrow.shaftEnd, 184.5f, 100);
    ExpectNear(arrow.head[0], 200, 100);
    ExpectNear(arrow.head[1], 184.5f, 106.8f);
    ExpectNear(arrow.head[2], 184.5f, 93.2f);
    ASSERT_TRUE(arrow.hasQuad);
    EXPECT_NEAR(arrow.quad[1].y - arrow.quad[0].y, 1.0, 0.01);  // narrow at the tail
    EXPECT_NEAR(arrow.quad[2].y - arrow.quad[3].y, 3.6, 0.01);  // wide at the head
    config.taperTowardsHead = false;
    EXPECT_NEAR(ArrowGeometry(FloatPoint{100, 100}, FloatPoint{200, 100}, config).quad[1].y - 100, 1.8, 0.01);
    // Shorter than one pixel: the head collapses onto the tip and there is no shaft.
    const ArrowOutline dot = ArrowGeometry(FloatPoint{50, 50}, FloatPoint{50, 50}, config);
    EXPECT_FALSE(dot.hasQuad);
    ExpectNear(dot.head[1], 50, 50);
}

TEST(ArrowShape, ItsExtentHoldsAThickShaftWhole) {
    ShapeConfigRegistry registry;
    ArrowConfig& config = registry.Get<ArrowConfig>();
    config.lineWidth = 30;  // the shaft's wide end outgrows the head
    CShapeArrow arrow(registry);
    Drag(arrow, 100, 300, 400, 300);
    const ArrowOutline outline = ArrowGeometry(arrow.Start(), arrow.End(), config);
    ASSERT_TRUE(outline.hasQuad);
    EXPECT_NEAR(outline.quad[2].y - outline.quad[3].y, ArrowWideShaftWidth(config), 0.01);
    const base::Rect extent = arrow.Extent();
    for (const FloatPoint& p : outline.quad) {
        EXPECT_TRUE(p.x >= extent.left && p.x < extent.right && p.y >= extent.top && p.y < extent.bottom)
            << p.x << ", " << p.y;
    }
}

TEST(ArrowShape, ShortDragStretchesAndEndsAreGrabbed) {
    ShapeConfigRegistry registry;
    CShapeArrow shortArrow(registry);
    Drag(shortArrow, 100, 100, 103, 100);
    ExpectNear(shortArrow.End(), 105, 100);
    EXPECT_TRUE(shortArrow.Selected());
    CShapeArrow arrow(registry);
    Drag(arrow, 100, 100, 200, 100);
    // The tip shows the hand and moves alone; the shaft moves the whole arrow.
    EXPECT_EQ(arrow.CursorAt(200, 108), base::CursorKind::kHand);
    EXPECT_EQ(arrow.HitCode(100, 90), kSegmentStart);
    EXPECT_EQ(arrow.HitCode(150, 111), kSegmentMiss);
    Drag(arrow, 200, 100, 250, 120);
    ExpectNear(arrow.End(), 250, 120);
    Drag(arrow, 150, 110, 160, 100);
    ExpectNear(arrow.Start(), 110, 90);
    ExpectNear(arrow.End(), 260, 110);
    // A click in one place keeps a valid zero-length arrow.
    CShapeArrow dot(registry);
    Drag(dot, 50, 50, 50, 50);
    EXPECT_TRUE(dot.IsValid());
}

TEST(LineShape, ShortDragStretchesWithTruncationAndHitsUseTheProjection) {
    ShapeConfigRegistry registry;
    CShapeLine line(registry);
    Drag(line, 10, 10, 12, 11);
    EXPECT_EQ(line.End(), (base::Point{14, 12}));
    EXPECT_EQ(line.CursorAt(14, 12), base::CursorKind::kSizeAll);
    CShapeLine longLine(registry);
    Drag(longLine, 0, 100, 200, 100);
    EXPECT_EQ(longLine.HitCode(100, 108), kSegmentBody);
    EXPECT_EQ(longLine.HitCode(100, 109), kSegmentMiss);
    EXPECT_EQ(longLine.HitCode(205, 100), kSegmentEnd);
}

TEST(FreeLineShape, OnePointPerMoveHitWithinReachAndWholeStrokeMoves) {
    ShapeConfigRegistry registry;
    CShapeFreeLine stroke(registry);
    stroke.OnMouseDown(100, 100);
    EXPECT_FALSE(stroke.IsValid());  // one point
    stroke.OnMouseMove(200, 100);
    stroke.OnMouseMove(200, 200);
    stroke.OnMouseUp();
    ASSERT_EQ(stroke.Points().size(), 3u);
    // Tolerance 10 plus half the width 2.
    EXPECT_TRUE(stroke.HitTest(150, 111));
    EXPECT_FALSE(stroke.HitTest(150, 112));
    EXPECT_FALSE(stroke.HitTest(150, 150));  // a press that misses draws nothing more
    stroke.OnMouseDown(150, 150);
    EXPECT_EQ(stroke.Points().size(), 3u);
    stroke.OnMouseDown(150, 105);
    stroke.OnMouseMove(160, 100);
    stroke.OnMouseMove(155, 102);
    stroke.OnMouseUp();
    EXPECT_EQ(stroke.Points()[0], (base::Point{105, 97}));
    EXPECT_EQ(stroke.Points()[2], (base::Point{205, 197}));
    // A move by unequal amounts shifts the paint area by exactly them.
    const base::Rect before = stroke.Extent();
    stroke.OnMouseDown(150, 97);
    stroke.OnMouseMove(150 + 30, 97 - 7);
    stroke.OnMouseUp();
    EXPECT_EQ(stroke.Extent(), (base::Rect{before.left + 30, before.top - 7, before.right + 30, before.bottom - 7}));
}

TEST(MosaicShape, CellsAlongTheStrokeAndWholeCellMoves) {
    CShapeMosaic mosaic;
    mosaic.OnMouseDown(25, 37);
    EXPECT_EQ(mosaic.Cells(), (MosaicCells{{2, 3}}));
    EXPECT_EQ(CShapeMosaic::CellRect(MosaicCell{2, 3}), (base::Rect{20, 30, 30, 40}));
    EXPECT_EQ(mosaic.Extent(), (base::Rect{20, 30, 30, 40}));
    EXPECT_EQ(mosaic.CursorAt(25, 37), base::CursorKind::kHand);
    mosaic.OnMouseUp();
    EXPECT_TRUE(mosaic.IsValid());

    CShapeMosaic stroke;
    stroke.OnMouseDown(0, 0);
    stroke.OnMouseMove(35, 0);  // one fast move: every pixel sampled, the last point's cell too
    EXPECT_EQ(stroke.Cells(), (MosaicCells{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(stroke.LastStepArea(), (base::Rect{10, 0, 40, 10}));
    stroke.OnMouseMove(0, 45);  // a fast diagonal back still leaves no gap between rows
    EXPECT_EQ(stroke.Cells().count(MosaicCell{0, 4}), 1u);  // and ends under the pointer
    for (int row = 1; row <= 4; ++row) {
        bool joined = false;
        for (const MosaicCell& c : stroke.Cells()) {
            if (c.row != row) continue;
            for (int dc = -1; dc <= 1; ++dc) joined = joined || stroke.Cells().count(MosaicCell{c.column + dc, row - 1});
        }
        EXPECT_TRUE(joined) << row;
    }
    stroke.OnMouseUp();
    const size_t count = stroke.Cells().size();
    stroke.OnMouseDown(100, 100);  // beside it: a drawn mosaic never grows
    EXPECT_EQ(stroke.Cells().size(), count);

    mosaic.OnMouseDown(25, 37);
    mosaic.OnMouseMove(25 + 14, 37 - 6);
    EXPECT_EQ(mosaic.Cells(), (MosaicCells{{3, 2}}));
    mosaic.OnMouseMove(25 + 15, 37);
    EXPECT_EQ(mosaic.Cells(), (MosaicCells{{4, 3}}));
    EXPECT_EQ(mosaic.Extent(), (base::Rect{40, 30, 50, 40}));  // moved whole cells
    EXPECT_EQ(mosaic.CursorAt(0, 0), base::CursorKind::kSizeAll);
    mosaic.OnMouseUp();
    EXPECT_EQ(mosaic.CursorAt(0, 0), base::CursorKind::kArrow);
}

}  // namespace
