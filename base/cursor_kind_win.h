// Shows a CursorKind: the system cursor loaded from the system set and applied with SetCursor.
#pragma once

#include <windows.h>

#include "base/cursor_kind.h"

namespace base {

inline LPCWSTR CursorResource(CursorKind cursor) {
    switch (cursor) {
        case CursorKind::kCross: return IDC_CROSS;
        case CursorKind::kSizeNWSE: return IDC_SIZENWSE;
        case CursorKind::kSizeNS: return IDC_SIZENS;
        case CursorKind::kSizeNESW: return IDC_SIZENESW;
        case CursorKind::kSizeWE: return IDC_SIZEWE;
        case CursorKind::kSizeAll: return IDC_SIZEALL;
        case CursorKind::kHand: return IDC_HAND;
        default: return IDC_ARROW;
    }
}

inline void ShowCursorKind(CursorKind cursor) { SetCursor(LoadCursorW(nullptr, CursorResource(cursor))); }

}  // namespace base
