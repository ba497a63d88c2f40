// The program's integer geometry: points, sizes and rectangles. A rectangle contains its left
// and top edges and excludes its right and bottom ones (as Win32's PtInRect); one whose right is
// not past its left, or bottom not past its top, is empty and contains no point. Pure code: the
// Win32 and GDI+ forms are made at the system's edge only (geometry_win.h).
#pragma once

namespace base {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
    bool operator!=(const Point& o) const { return !(*this == o); }
};

struct Size {
    int cx = 0;
    int cy = 0;
    bool operator==(const Size& o) const { return cx == o.cx && cy == o.cy; }
    bool operator!=(const Size& o) const { return !(*this == o); }
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool Contains(Point p) const { return Contains(p.x, p.y); }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const Rect& o) const { return !(*this == o); }
};

// The same rectangle with left <= right and top <= bottom.
inline Rect Normalized(const Rect& r) {
    return Rect{r.left < r.right ? r.left : r.right, r.top < r.bottom ? r.top : r.bottom,
                r.left < r.right ? r.right : r.left, r.top < r.bottom ? r.bottom : r.top};
}

inline Rect Inflated(const Rect& r, int by) {
    return Rect{r.left - by, r.top - by, r.right + by, r.bottom + by};
}

// The part of a inside b; all zero when they do not meet.
inline Rect Intersect(const Rect& a, const Rect& b) {
    const Rect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                 a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    return r.IsEmpty() ? Rect{} : r;
}

// The smallest rectangle holding both; an empty one adds nothing.
inline Rect Union(const Rect& a, const Rect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return Rect{a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}

}  // namespace base
