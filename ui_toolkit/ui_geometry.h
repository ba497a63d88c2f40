// Integer rectangles and sizes of the toolkit. A rectangle holds left/top and excludes
// right/bottom, as Win32's RECT does; the Win32 side converts at its edge.
#pragma once

namespace DuiLib {

struct UiRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const UiRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const UiRect& o) const { return !(*this == o); }
};

struct UiSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const UiSize& o) const { return cx == o.cx && cy == o.cy; }
};

// The part of a inside b; empty (all zero) when they do not meet.
inline UiRect Intersect(const UiRect& a, const UiRect& b) {
    UiRect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
             a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    return r.IsEmpty() ? UiRect{} : r;
}

}  // namespace DuiLib
