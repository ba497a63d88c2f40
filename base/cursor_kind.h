// The system cursors the overlay and the shapes show, named apart from Win32 so pure code can
// choose one; cursor_kind_win.h turns a kind into the system cursor.
#pragma once

namespace base {

enum class CursorKind { kArrow, kCross, kSizeNWSE, kSizeNS, kSizeNESW, kSizeWE, kSizeAll, kHand };

}  // namespace base
