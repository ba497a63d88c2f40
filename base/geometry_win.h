// Conversions between the program's geometry and the Win32 and GDI+ forms, used where a value
// crosses into or out of the system. All keep the meaning of each edge unchanged.
#pragma once

#include <windows.h>

#include "base/geometry.h"

namespace base {

inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }
inline POINT ToPOINT(const Point& p) { return POINT{p.x, p.y}; }
inline Point FromPOINT(const POINT& p) { return Point{p.x, p.y}; }
inline SIZE ToSIZE(const Size& s) { return SIZE{s.cx, s.cy}; }

}  // namespace base
