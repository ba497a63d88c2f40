// The shape logic of a capture: which presses create, pick, move and delete shapes, what the
// toolbar hears, and what it reports changed on screen.
#include <gtest/gtest.h>

#include <vector>

#include "annotation/box_shapes.h"
#include "annotation/shape_logic.h"

namespace {

using Shapes = std::vector<CShapeLogic::ShapePtr>;

struct RecordingObserver : ShapeLogicObserver {
    std::vector<int> picked;
    int gone = 0;
    void ShapePicked(int type) override { picked.push_back(type); }
    void CurrentShapeGone() override { ++gone; }
};

// Rectangle A: (100,100) to (300,200), grabbed alone at (85,130); B: (400,300) to (450,350).
class ShapeLogicTest : public testing::Test {
protected:
    void SetUp() override { logic.SetObserver(&observer); }
    void Drag(int x, int y, int toX, int toY) {
        logic.OnMouseDown(x, y);
        logic.OnMouseMove(toX, toY);
        logic.OnMouseUp();
    }
    static const CBoxShape& Box(const CShapeLogic::ShapePtr& s) { return dynamic_cast<CBoxShape&>(*s); }
    static bool Covers(const base::Rect& outer, const base::Rect& inner) { return Union(outer, inner) == outer; }

    ShapeConfigRegistry registry;
    CShapeLogic logic{registry};
    RecordingObserver observer;
};

TEST_F(ShapeLogicTest, OnlyADragInBothDirectionsCreatesAShape) {
    logic.SelectTool(1);
    logic.OnMouseDown(100, 100);
    logic.DeleteCurrentShape();  // a box being drawn is not on the canvas yet
    logic.OnMouseUp();
    Drag(100, 100, 200, 100);  // no height
    EXPECT_TRUE(logic.IsEmpty());
    EXPECT_EQ(logic.CurrentShape(), nullptr);
    Drag(100, 100, 300, 200);
    Drag(400, 300, 450, 350);
    ASSERT_EQ(logic.Shapes().size(), 2u);
    EXPECT_EQ(logic.CurrentShape(), logic.Shapes().back());
    EXPECT_TRUE(observer.picked.empty());
    EXPECT_EQ(observer.gone, 0);
}

TEST_F(ShapeLogicTest, PressPicksTheTopmostShapeBringsItToTheFrontAndDeletesIt) {
    logic.SelectTool(1);
    Drag(100, 100, 300, 200);
    Drag(150, 150, 350, 250);
    const auto a = logic.Shapes()[0], b = logic.Shapes()[1];
    Drag(300, 150, 300, 150);  // on both outlines
    EXPECT_EQ(logic.CurrentShape(), b);
    Drag(85, 130, 85, 130);  // only on A's
    EXPECT_EQ(logic.CurrentShape(), a);
    EXPECT_EQ(logic.Shapes(), (Shapes{b, a}));
    EXPECT_FALSE(Box(b).Selected());
    EXPECT_EQ(observer.picked, (std::vector<int>{1, 1}));
    const base::Rect deleted = a->Extent();
    logic.TakeDirty();
    logic.DeleteCurrentShape();
    EXPECT_TRUE(Covers(logic.TakeDirty(), deleted));  // where it was is painted again
    logic.DeleteCurrentShape();
    EXPECT_EQ(logic.Shapes(), Shapes{b});
    EXPECT_EQ(logic.CurrentShape(), nullptr);
    EXPECT_EQ(observer.gone, 1);
}

TEST_F(ShapeLogicTest, ToolTogglesAndAnyToolPicks) {
    for (const int notATool : {0, 8, -1}) logic.SelectTool(notATool);
    EXPECT_EQ(logic.ActiveTool(), 0);
    logic.SelectTool(2);
    Drag(100, 100, 300, 200);
    logic.SelectTool(2);
    EXPECT_EQ(logic.ActiveTool(), 0);
    EXPECT_EQ(logic.CurrentShape(), nullptr);  // the tool button lets the shape go
    EXPECT_EQ(observer.gone, 1);               // and the toolbar hears it
    EXPECT_FALSE(Box(logic.Shapes()[0]).Selected());
    Drag(400, 300, 450, 350);  // no tool: nothing new, but shapes are still picked
    Drag(271, 185, 271, 185);  // on the ellipse's outline
    EXPECT_EQ(logic.CurrentShape(), logic.Shapes()[0]);
    logic.SelectTool(1);
    Drag(271, 185, 281, 195);  // the rectangle tool moves the ellipse
    EXPECT_EQ(Box(logic.Shapes()[0]).Box(), (ShapeBox{110, 110, 200, 100}));
    EXPECT_EQ(observer.picked, (std::vector<int>{2, 2}));
    logic.SelectTool(7);  // text is not typed yet
    EXPECT_EQ(logic.ActiveTool(), 7);
    Drag(400, 300, 450, 350);
    EXPECT_EQ(logic.CurrentShape(), nullptr);
    EXPECT_EQ(logic.Shapes().size(), 1u);
}

TEST_F(ShapeLogicTest, ConfigFlowsFromTheRegistryOnReloadAndBackOnPick) {
    auto& config = registry.Get<RectangleConfig>();
    logic.SelectTool(1);
    Drag(100, 100, 300, 200);  // A
    const base::Rect thin = logic.Extent();
    config.lineWidth = 12;
    logic.ReloadConfig();
    EXPECT_EQ(Box(logic.CurrentShape()).Config().lineWidth, 12.0f);
    EXPECT_TRUE(Covers(logic.Extent(), thin) && logic.Extent() != thin);
    const uint32_t firstColor = config.color;
    config.color = 0xFFFF0000;
    Drag(400, 300, 450, 350);  // B is red
    config.lineWidth = 1;
    Drag(85, 130, 85, 130);  // picks A again
    EXPECT_EQ(config.color, firstColor);
    EXPECT_EQ(config.lineWidth, 12.0f);
}

TEST_F(ShapeLogicTest, DirtyAreaHoldsBothPlacesOfAMovedShapeOnce) {
    logic.SelectTool(1);
    Drag(100, 100, 300, 200);
    logic.TakeDirty();
    const base::Rect before = logic.Extent();
    logic.OnMouseDown(85, 150);
    logic.OnMouseMove(385, 450);
    const base::Rect dirty = logic.TakeDirty();
    EXPECT_TRUE(Covers(dirty, before) && Covers(dirty, logic.Extent()));
    EXPECT_TRUE(logic.TakeDirty().IsEmpty());
    EXPECT_EQ(logic.TakeCursor(), base::CursorKind::kSizeAll);
    EXPECT_FALSE(logic.TakeCursor().has_value());
}

TEST_F(ShapeLogicTest, SummaryCountsTypesInOrderAndResetClearsEverything) {
    EXPECT_EQ(logic.ShapeSummary(), L"");
    logic.SelectTool(2);
    Drag(500, 500, 600, 600);
    logic.SelectTool(1);
    Drag(100, 100, 300, 200);
    Drag(400, 300, 450, 350);
    EXPECT_EQ(logic.ShapeSummary(), L"rectangle=2;ellipse=1;");
    const base::Rect all = logic.Extent();
    logic.TakeDirty();
    logic.Reset();
    EXPECT_EQ(logic.ShapeSummary(), L"");
    EXPECT_EQ(logic.CurrentShape(), nullptr);
    EXPECT_EQ(logic.ActiveTool(), 0);
    EXPECT_TRUE(Covers(logic.TakeDirty(), all));  // where they were is painted again
}

}  // namespace
