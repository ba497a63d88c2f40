#include <gtest/gtest.h>

#include "ui_toolkit/box_layout.h"
#include "ui_toolkit/ui_attributes.h"

#include <climits>

using namespace DuiLib;

namespace {

BoxChild Fixed(int width, int height, base::Rect padding = {}) {
    BoxChild child;
    child.fixedWidth = width;
    child.fixedHeight = height;
    child.padding = padding;
    return child;
}

void ExpectRect(const base::Rect& r, int l, int t, int rr, int b) {
    EXPECT_EQ(r, (base::Rect{l, t, rr, b})) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

}  // namespace

TEST(BoxLayout, HorizontalKeepsFixedWidthsAndSharesTheRest) {
    // A title row: 80 wide label, flexible gap, 30 x 30 button, inset 10,5,10,5.
    const auto places = LayoutChildren(BoxKind::kHorizontal, base::Rect{0, 0, 300, 40}, base::Rect{10, 5, 10, 5}, 0,
                                       {Fixed(80, 0), Fixed(0, 0), Fixed(30, 30)});
    ExpectRect(places[0], 10, 5, 90, 35);
    ExpectRect(places[1], 90, 5, 260, 35);
    ExpectRect(places[2], 260, 5, 290, 35);
}

TEST(BoxLayout, FlexibleChildrenSplitEquallyWithTheRestToTheLast) {
    const auto places = LayoutChildren(BoxKind::kHorizontal, base::Rect{0, 0, 100, 10}, base::Rect{}, 0,
                                       {Fixed(0, 0), Fixed(0, 0), Fixed(0, 0)});
    EXPECT_EQ(places[0].Width(), 33);
    EXPECT_EQ(places[1].Width(), 33);
    EXPECT_EQ(places[2].Width(), 34);
    EXPECT_EQ(places[2].right, 100);
}

TEST(BoxLayout, PaddingAndChildPaddingSeparate) {
    const auto places = LayoutChildren(BoxKind::kHorizontal, base::Rect{0, 0, 500, 36}, base::Rect{}, 4,
                                       {Fixed(20, 20, base::Rect{16, 8, 0, 8}), Fixed(20, 20, base::Rect{20, 8, 0, 8})});
    ExpectRect(places[0], 16, 8, 36, 28);
    ExpectRect(places[1], 36 + 4 + 20, 8, 80, 28);
}

TEST(BoxLayout, VerticalStacksAndStretchesAcross) {
    const auto places = LayoutChildren(BoxKind::kVertical, base::Rect{0, 0, 300, 200}, base::Rect{}, 0,
                                       {Fixed(0, 40), Fixed(0, 30, base::Rect{10, 10, 0, 0}),
                                        Fixed(100, 24, base::Rect{10, 10, 0, 0}), Fixed(0, 0)});
    ExpectRect(places[0], 0, 0, 300, 40);
    ExpectRect(places[1], 10, 50, 300, 80);
    ExpectRect(places[2], 10, 90, 110, 114);
    ExpectRect(places[3], 0, 114, 300, 200);  // the flexible one takes what remains
}

TEST(BoxLayout, OverfullLayoutGivesFlexibleChildrenNothing) {
    const auto places = LayoutChildren(BoxKind::kHorizontal, base::Rect{0, 0, 50, 10}, base::Rect{}, 0,
                                       {Fixed(40, 0), Fixed(0, 0), Fixed(40, 0)});
    EXPECT_EQ(places[1].Width(), 0);
    ExpectRect(places[2], 40, 0, 80, 10);  // fixed sizes are kept even past the edge
}

TEST(BoxLayout, FloatingChildrenArePlacedRelativeToTheContainer) {
    BoxChild floating = Fixed(0, 0);
    floating.floating = true;
    floating.floatPos = base::Rect{407, 144, 448, 166};
    BoxChild sized = Fixed(16, 8);
    sized.floating = true;
    sized.floatPos = base::Rect{5, 6, 0, 0};
    const auto places = LayoutChildren(BoxKind::kHorizontal, base::Rect{20, 30, 480, 208}, base::Rect{}, 0,
                                       {Fixed(0, 0), floating, sized});
    ExpectRect(places[0], 20, 30, 480, 208);  // floating children take no room in the flow
    ExpectRect(places[1], 427, 174, 468, 196);
    ExpectRect(places[2], 25, 36, 41, 44);
}

TEST(BoxLayout, StackPutsEveryChildInTheContentArea) {
    const auto places = LayoutChildren(BoxKind::kStack, base::Rect{0, 0, 36, 36}, base::Rect{2, 2, 2, 2}, 0,
                                       {Fixed(0, 0), Fixed(10, 10, base::Rect{3, 4, 0, 0})});
    ExpectRect(places[0], 2, 2, 34, 34);
    ExpectRect(places[1], 5, 6, 15, 16);
}

TEST(BoxLayout, HugeSizesFromAttributesSaturateInsteadOfWrapping) {
    // Widths such as "99999999999" parse to INT_MAX; two of them, a padding and a gap used to
    // overflow int on the way to the second child's position.
    const int huge = ParseIntAttribute(L"99999999999");
    ASSERT_EQ(huge, INT_MAX);
    const auto row = LayoutChildren(BoxKind::kHorizontal, base::Rect{10, 0, 300, 40}, base::Rect{}, 5,
                                    {Fixed(huge, 0, base::Rect{3, 0, 3, 0}), Fixed(huge, 0), Fixed(0, 0)});
    ExpectRect(row[0], 13, 0, INT_MAX, 40);
    // Everything after the first child starts past the end of the int range: out of view.
    EXPECT_EQ(row[1].left, INT_MAX);
    EXPECT_EQ(row[2].left, INT_MAX);
    EXPECT_TRUE(row[2].IsEmpty());
    const auto column = LayoutChildren(BoxKind::kVertical, base::Rect{0, -10, 50, 100}, base::Rect{0, INT_MIN, 0, 0}, 0,
                                       {Fixed(0, huge), Fixed(0, huge)});
    EXPECT_EQ(column[0].top, INT_MIN);
    EXPECT_LE(column[1].top, column[1].bottom);
}
