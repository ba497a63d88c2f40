// The split of an overlay paint into plain and composed rectangles, on real GDI regions.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "base/unique_handle.h"
#include "capture/update_split_win.h"

namespace {

// A checkerboard of 4-pixel cells from (x, y), cells x cells: many rectangles in one region.
UniqueRegion Checkerboard(int x, int y, int cells) {
    UniqueRegion board(CreateRectRgn(0, 0, 0, 0));
    for (int row = 0; row < cells; ++row) {
        for (int col = row % 2; col < cells; col += 2) {
            UniqueRegion cell(CreateRectRgn(x + 4 * col, y + 4 * row, x + 4 * col + 4, y + 4 * row + 4));
            CombineRgn(board.Get(), board.Get(), cell.Get(), RGN_OR);
        }
    }
    return board;
}

UniqueRegion Rect(int l, int t, int r, int b) { return UniqueRegion(CreateRectRgn(l, t, r, b)); }

// True when the rectangles of the split together cover every pixel of dirty.
bool CoversAll(HRGN dirty, const UpdateSplit& split) {
    UniqueRegion left(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(left.Get(), dirty, nullptr, RGN_COPY);
    for (const auto* rects : {&split.plain, &split.composed}) {
        for (const RECT& r : *rects) {
            UniqueRegion part(CreateRectRgnIndirect(&r));
            CombineRgn(left.Get(), left.Get(), part.Get(), RGN_DIFF);
        }
    }
    RECT box;
    return GetRgnBox(left.Get(), &box) == NULLREGION;
}

bool Meets(const RECT& r, HRGN region) { return RectInRegion(region, &r) != FALSE; }

}  // namespace

TEST(UpdateSplit, EveryPixelOfTheUpdateIsPainted) {
    // Plain part fragmented (800 rectangles), composed part small: a label or magnifier area.
    {
        UniqueRegion dirty = Checkerboard(0, 0, 40);
        UniqueRegion label = Rect(100, 100, 300, 120);
        CombineRgn(dirty.Get(), dirty.Get(), label.Get(), RGN_OR);
        UniqueRegion chrome = Rect(90, 90, 310, 130);
        const UpdateSplit split = SplitUpdate(dirty.Get(), chrome.Get());
        EXPECT_FALSE(split.plain.empty());
        EXPECT_FALSE(split.composed.empty());
        EXPECT_TRUE(CoversAll(dirty.Get(), split));
    }
    // Composed part fragmented, plain part small.
    {
        UniqueRegion dirty = Checkerboard(400, 400, 40);
        UniqueRegion strip = Rect(0, 0, 50, 10);
        CombineRgn(dirty.Get(), dirty.Get(), strip.Get(), RGN_OR);
        UniqueRegion chrome = Rect(380, 380, 600, 600);
        const UpdateSplit split = SplitUpdate(dirty.Get(), chrome.Get());
        EXPECT_TRUE(CoversAll(dirty.Get(), split));
    }
    // Both fragmented.
    {
        UniqueRegion dirty = Checkerboard(0, 0, 60);
        UniqueRegion chrome = Rect(0, 0, 120, 240);
        EXPECT_TRUE(CoversAll(dirty.Get(), SplitUpdate(dirty.Get(), chrome.Get())));
    }
    // Neither: the plain rectangles stay off the chrome, the composed ones on it.
    {
        UniqueRegion dirty = Rect(0, 0, 200, 200);
        UniqueRegion chrome = Rect(50, 50, 100, 100);
        const UpdateSplit split = SplitUpdate(dirty.Get(), chrome.Get());
        EXPECT_TRUE(CoversAll(dirty.Get(), split));
        for (const RECT& r : split.plain) EXPECT_FALSE(Meets(r, chrome.Get()));
        ASSERT_EQ(split.composed.size(), 1u);
        const RECT& c = split.composed[0];
        EXPECT_TRUE(c.left == 50 && c.top == 50 && c.right == 100 && c.bottom == 100);
    }
    // Nothing dirty: nothing to paint.
    UniqueRegion none(CreateRectRgn(0, 0, 0, 0));
    UniqueRegion chrome = Rect(0, 0, 10, 10);
    const UpdateSplit empty = SplitUpdate(none.Get(), chrome.Get());
    EXPECT_TRUE(empty.plain.empty() && empty.composed.empty());
}
