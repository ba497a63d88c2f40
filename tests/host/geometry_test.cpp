#include <gtest/gtest.h>

#include <climits>

#include "base/geometry.h"

using base::Rect;

TEST(Geometry, LeftAndTopAreInsideRightAndBottomAreNot) {
    const Rect r{10, 20, 13, 22};
    EXPECT_TRUE(r.Contains(10, 20));
    EXPECT_TRUE(r.Contains(12, 21));
    EXPECT_FALSE(r.Contains(13, 21));
    EXPECT_FALSE(r.Contains(12, 22));
    EXPECT_FALSE(r.Contains(9, 20));
    EXPECT_FALSE(r.Contains(10, 19));
    // Empty and inverted rectangles hold no point, not even their corner.
    EXPECT_FALSE((Rect{5, 5, 5, 9}).Contains(5, 5));
    EXPECT_FALSE((Rect{9, 9, 5, 5}).Contains(7, 7));
    EXPECT_TRUE((Rect{9, 9, 5, 5}).IsEmpty());
    // At the ends of the int range the rule still holds.
    const Rect all{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    EXPECT_TRUE(all.Contains(INT_MIN, INT_MIN));
    EXPECT_FALSE(all.Contains(INT_MAX, 0));
}

TEST(Geometry, NormalizeInflateAndIntersect) {
    EXPECT_EQ(base::Normalized(Rect{30, 40, 10, 5}), (Rect{10, 5, 30, 40}));
    EXPECT_EQ(base::Inflated(Rect{10, 10, 20, 20}, 5), (Rect{5, 5, 25, 25}));
    EXPECT_EQ(base::Intersect(Rect{0, 0, 10, 10}, Rect{5, -5, 20, 6}), (Rect{5, 0, 10, 6}));
    // Touching edges share no pixel: the right edge is outside.
    EXPECT_EQ(base::Intersect(Rect{0, 0, 10, 10}, Rect{10, 0, 20, 10}), Rect{});
    EXPECT_EQ(base::Intersect(Rect{0, 0, 10, 10}, Rect{3, 3, 1, 1}), Rect{});
}
