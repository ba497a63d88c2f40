// The shapes as GDI+ and GDI paint them: an arrow's head, a mosaic's blocks and outlines, a
// freehand stroke painted only near the area asked for with the whole stroke's pixels there, and
// every shape painting only inside its extent.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "annotation/box_shapes.h"
#include "annotation/mosaic_shape.h"
#include "annotation/shape_painter_win.h"
#include "annotation/stroke_shapes.h"
#include "base/dib_canvas.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// A white 300 x 200 canvas.
class Canvas : public testing::Test {
protected:
    void SetUp() override {
        for (DibCanvas* c : {&canvas_, &other_}) {
            ASSERT_TRUE(c->Create(nullptr, 300, 200));
            std::fill(c->Bits(), c->Bits() + 300 * 200, kWhite);
        }
    }
    template <class Shape>
    void Paint(DibCanvas& canvas, const Shape& shape, RECT clip = RECT{0, 0, 300, 200}, POINT origin = POINT{0, 0}) {
        {
            GdiplusShapePainter painter(canvas.Dc(), clip, origin, false);
            shape.Draw(painter);
        }
        GdiFlush();
    }
    uint32_t At(const DibCanvas& canvas, int x, int y) const { return canvas.Bits()[y * 300 + x] & 0xFFFFFF; }

    ShapeConfigRegistry registry_;
    DibCanvas canvas_, other_;
};

TEST_F(Canvas, ArrowHeadIsFilledWithTheColourOrWhite) {
    CShapeArrow arrow(registry_);
    arrow.OnMouseDown(100, 100);
    arrow.OnMouseMove(200, 100);
    arrow.OnMouseUp();
    Paint(canvas_, arrow);
    EXPECT_EQ(At(canvas_, 192, 100), 0x009BFFu);
    EXPECT_EQ(At(canvas_, 192, 110), kWhite);
    EXPECT_EQ(At(canvas_, 150, 100) & 0xFF, 0xFFu);  // the shaft, in the colour's blue
    registry_.Get<ArrowConfig>().fillHead = false;
    registry_.Get<ArrowConfig>().color = 0xFF000000;
    arrow.ReloadConfig();
    Paint(other_, arrow);
    EXPECT_EQ(At(other_, 192, 100), kWhite);
    EXPECT_EQ(At(other_, 150, 100), 0u);
}

TEST_F(Canvas, AnEllipseFillsItsOwnBoxNotItsTransposedOne) {
    CShapeEllipse ellipse(registry_);
    ellipse.OnMouseDown(50, 40);
    ellipse.OnMouseMove(250, 120);
    ellipse.OnMouseUp();
    Paint(canvas_, ellipse);  // as committed: no frame or handles on the outline's points
    const auto onOutline = [this](int x, int y) { return (At(canvas_, x, y) >> 16) < 0x40; };  // little red
    EXPECT_TRUE(onOutline(150, 40));   // top middle
    EXPECT_TRUE(onOutline(150, 119));  // bottom middle
    EXPECT_TRUE(onOutline(50, 80));    // left middle
    EXPECT_TRUE(onOutline(249, 80));   // right middle
    EXPECT_EQ(At(canvas_, 150, 80), kWhite);
}

TEST_F(Canvas, MosaicBlocksAreGreyWithADarkerOutline) {
    CShapeMosaic mosaic;
    mosaic.OnMouseDown(25, 37);
    mosaic.OnMouseUp();
    Paint(canvas_, mosaic);
    for (const POINT p : {POINT{20, 30}, POINT{29, 30}, POINT{20, 39}, POINT{29, 39}, POINT{24, 30}}) {
        EXPECT_EQ(At(canvas_, p.x, p.y), 0x505050u) << p.x << "," << p.y;
    }
    EXPECT_EQ(At(canvas_, 21, 31), 0x787878u);
    EXPECT_EQ(At(canvas_, 28, 38), 0x787878u);
    EXPECT_EQ(At(canvas_, 30, 35), kWhite);
    EXPECT_EQ(At(canvas_, 19, 35), kWhite);
    // Shifted onto a picture whose origin is at (10, 10) of the overlay.
    Paint(other_, mosaic, RECT{0, 0, 300, 200}, POINT{-10, -10});
    EXPECT_EQ(At(other_, 10, 20), 0x505050u);
    EXPECT_EQ(At(other_, 15, 25), 0x787878u);
}

TEST_F(Canvas, FreehandPaintedNearAnAreaMatchesTheWholeStrokeThere) {
    CShapeFreeLine stroke(registry_);
    stroke.OnMouseDown(10, 100);
    for (int i = 1; i <= 70; ++i) stroke.OnMouseMove(10 + 4 * i, i % 2 ? 60 : 140);
    stroke.OnMouseUp();
    // Solid, dotted and dashed: a dash pattern must run on as in the whole stroke.
    for (const int style : {1, 2, 3}) {
        registry_.Get<FreeLineConfig>().lineStyle = style;
        stroke.ReloadConfig();
        for (DibCanvas* c : {&canvas_, &other_}) std::fill(c->Bits(), c->Bits() + 300 * 200, kWhite);
        Paint(canvas_, stroke);
        const RECT area{140, 80, 180, 120};
        Paint(other_, stroke, area);
        int painted = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                ASSERT_EQ(At(other_, x, y), At(canvas_, x, y)) << x << "," << y << ", style " << style;
                painted += At(canvas_, x, y) != kWhite;
            }
        }
        EXPECT_GT(painted, style == 1 ? 100 : 30) << style;
        EXPECT_EQ(At(other_, 20, 100), kWhite) << style;  // far from the area nothing was drawn
    }
    registry_.Get<FreeLineConfig>().lineStyle = 1;
    stroke.ReloadConfig();
    Paint(canvas_, stroke);
    EXPECT_NE(At(canvas_, 20, 100), kWhite);
}

// The overlay repaints only the extents of what changed: a pixel painted outside a shape's
// extent would stay behind as a trail. Each kind, being drawn, selected with its handles,
// committed, and after a drag from its first point (a resize or a move), at thin and thick lines.
TEST_F(Canvas, EveryShapePaintsOnlyInsideItsExtent) {
    using Make = std::function<std::unique_ptr<CShapeBase>()>;
    const Make kinds[] = {
        [this] { return std::make_unique<CShapeRectangle>(registry_); },
        [this] { return std::make_unique<CShapeEllipse>(registry_); },
        [this] { return std::make_unique<CShapeArrow>(registry_); },
        [this] { return std::make_unique<CShapeLine>(registry_); },
        [this] { return std::make_unique<CShapeFreeLine>(registry_); },
        [] { return std::make_unique<CShapeMosaic>(); },
    };
    for (const float width : {1.0f, 3.5f, 10.0f}) {
        for (int type = 1; type <= 5; ++type) registry_.Find(type).lineWidth = width;
        for (const Make& make : kinds) {
            const std::unique_ptr<CShapeBase> shape = make();
            shape->OnMouseDown(90, 60);
            shape->OnMouseMove(150, 140);
            shape->OnMouseMove(130, 70);  // a sharp turn for the freehand stroke's mitre
            shape->OnMouseMove(210, 140);
            for (int state = 0; state < 4; ++state) {
                if (state == 1) shape->OnMouseUp();
                if (state == 3) {
                    shape->OnMouseDown(90, 60);
                    shape->OnMouseMove(97, 49);
                    shape->OnMouseUp();
                }
                std::fill(canvas_.Bits(), canvas_.Bits() + 300 * 200, kWhite);
                {
                    GdiplusShapePainter painter(canvas_.Dc(), RECT{0, 0, 300, 200}, POINT{0, 0}, state != 2);
                    shape->Draw(painter);
                }
                GdiFlush();
                const base::Rect extent = shape->Extent();
                int outside = 0, inside = 0;
                for (int y = 0; y < 200; ++y) {
                    for (int x = 0; x < 300; ++x) {
                        const bool in = x >= extent.left && x < extent.right && y >= extent.top && y < extent.bottom;
                        (in ? inside : outside) += At(canvas_, x, y) != kWhite;
                    }
                }
                EXPECT_EQ(outside, 0) << "type " << shape->Type() << ", width " << width << ", state " << state;
                EXPECT_GT(inside, 0) << "type " << shape->Type() << ", width " << width << ", state " << state;
            }
        }
    }
}

}  // namespace
