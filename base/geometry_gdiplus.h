// The program's rectangles in the origin-and-size form GDI+ takes.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "base/geometry.h"

namespace base {

inline Gdiplus::Rect ToGdiplusRect(const Rect& r) {
    return Gdiplus::Rect(r.left, r.top, r.Width(), r.Height());
}

inline Gdiplus::RectF ToGdiplusRectF(const Rect& r) {
    return Gdiplus::RectF(static_cast<Gdiplus::REAL>(r.left), static_cast<Gdiplus::REAL>(r.top),
                          static_cast<Gdiplus::REAL>(r.Width()), static_cast<Gdiplus::REAL>(r.Height()));
}

}  // namespace base
