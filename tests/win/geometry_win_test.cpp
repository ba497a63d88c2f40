// The program's rectangles against Win32's own rules, at the edges.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>

#include "base/geometry_win.h"

static_assert(sizeof(base::Rect) == sizeof(RECT), "a Rect mirrors RECT field for field");
static_assert(sizeof(base::Point) == sizeof(POINT), "a Point mirrors POINT");

TEST(GeometryWin, ContainmentAndIntersectionAgreeWithWin32) {
    const base::Rect cases[] = {{10, 20, 13, 22}, {5, 5, 5, 9}, {9, 9, 5, 5}, {-4, -3, 0, 0}, {0, 0, 1, 1}};
    for (const base::Rect& r : cases) {
        const RECT w = base::ToRECT(r);
        EXPECT_EQ(base::FromRECT(w), r);
        for (int y = r.top - 2; y <= r.bottom + 2; ++y) {
            for (int x = r.left - 2; x <= r.right + 2; ++x) {
                EXPECT_EQ(r.Contains(x, y), PtInRect(&w, POINT{x, y}) != FALSE) << x << "," << y;
            }
        }
        for (const base::Rect& other : cases) {
            RECT both;
            const RECT o = base::ToRECT(other);
            if (!IntersectRect(&both, &w, &o)) both = RECT{};
            EXPECT_EQ(base::Intersect(r, other), base::FromRECT(both));
        }
    }
    const base::Rect extreme{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    const RECT w = base::ToRECT(extreme);
    EXPECT_EQ(w.left, LONG_MIN);
    EXPECT_EQ(w.bottom, LONG_MAX);
    EXPECT_EQ(base::FromRECT(w), extreme);
    EXPECT_EQ(extreme.Contains(INT_MAX - 1, INT_MIN), PtInRect(&w, POINT{INT_MAX - 1, INT_MIN}) != FALSE);
}
