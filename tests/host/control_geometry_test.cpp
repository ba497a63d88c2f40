// Where the custom controls paint: the colour block's parts and the shape previews.
#include <gtest/gtest.h>

#include "toolbar/control_geometry.h"

namespace {

TEST(ControlGeometry, ColourBlock) {
    const base::Rect control{100, 50, 120, 70};
    ColorBlockLook look;
    const ColorBlockPaint plain = LayOutColorBlock(control, look, false);
    EXPECT_EQ(plain.border, (base::Rect{101, 51, 119, 69}));  // at +1, 18 x 18
    EXPECT_EQ(plain.block, (base::Rect{106, 56, 114, 64}));   // at +6, 8 x 8
    const ColorBlockPaint selected = LayOutColorBlock(control, look, true);
    EXPECT_EQ(selected.border, (base::Rect{101, 51, 119, 69}));
    EXPECT_EQ(selected.borderWidth, 2.0f);
    EXPECT_EQ(selected.block, (base::Rect{107, 57, 113, 63}));  // at +7, 6 x 6
    // Transparent parts are not painted; neither is a part with no room left.
    look.blockColor = 0x00A87000;
    look.borderColor = 0x00000000;
    EXPECT_TRUE(LayOutColorBlock(control, look, false).block.IsEmpty());
    EXPECT_TRUE(LayOutColorBlock(control, look, false).border.IsEmpty());
    look.blockColor = 0xFF00A870;
    look.selectedBorderWidth = 3.0f;
    EXPECT_TRUE(LayOutColorBlock(base::Rect{0, 0, 16, 16}, look, true).block.IsEmpty());
    EXPECT_EQ(LayOutColorBlock(base::Rect{0, 0, 16, 16}, look, true).border, (base::Rect{2, 2, 14, 14}));
}

TEST(ControlGeometry, CircleAndArrow) {
    const FloatBox circle = CirclePreviewBox(base::Rect{10, 10, 70, 50}, 2);  // centred across
    EXPECT_EQ((std::vector<float>{circle.x, circle.y, circle.width}), (std::vector<float>{21, 11, 38}));

    ArrowConfig arrow;  // head 16, width 2, narrow at the tail
    ArrowPreview preview = LayOutArrowPreview(base::Rect{0, 0, 40, 30}, arrow);  // 50 long, along (0.8, -0.6)
    ASSERT_TRUE(preview.hasHead);
    EXPECT_NEAR(preview.shaftEnd.x, 27.2f, 1e-4);
    EXPECT_NEAR(preview.shaftEnd.y, 9.6f, 1e-4);
    // Across (0.6, 0.8): half of 0.5 x 2 at the start, of 1.8 x 2 at the shaft's end, of 0.85 x 16
    // at the head's base.
    EXPECT_NEAR(preview.shaft[0].y, 30.4f, 1e-4);
    EXPECT_NEAR(preview.shaft[2].x, 27.2f - 1.08f, 1e-4);
    EXPECT_NEAR(preview.head[1].y, 9.6f + 0.8f * 6.8f, 1e-4);
    arrow.taperTowardsHead = false;
    EXPECT_NEAR(LayOutArrowPreview(base::Rect{0, 0, 40, 30}, arrow).shaft[0].x, 1.08f, 1e-4);
    // Shorter than its head: only the shaft, to the tip; 1 pixel or less: nothing.
    preview = LayOutArrowPreview(base::Rect{0, 0, 8, 6}, arrow);
    EXPECT_TRUE(preview.drawn && !preview.hasHead);
    EXPECT_EQ((std::vector<float>{preview.shaftEnd.x, preview.shaftEnd.y}), (std::vector<float>{8, 0}));
    EXPECT_FALSE(LayOutArrowPreview(base::Rect{5, 5, 6, 5}, arrow).drawn);
}

TEST(ControlGeometry, FreehandWave) {
    const std::vector<base::Point> wave = FreehandWave(base::Rect{10, 20, 110, 81});  // middle 50
    ASSERT_EQ(wave.size(), 21u);
    EXPECT_EQ(wave[0], (base::Point{10, 50}));
    EXPECT_EQ(wave[2], (base::Point{20, 78}));  // sin(0.4 pi) x 30 = 28.5, truncated
    EXPECT_EQ(wave[7], (base::Point{45, 21}));
    EXPECT_EQ(wave[20].x, 110);
}

}  // namespace
