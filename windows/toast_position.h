// Where a toast goes in the work area. Pure code.
#pragma once

#include "base/geometry.h"

// Where a toast of the given size goes in the work area: centred, or 20 pixels from the right
// and bottom edges (never past the left or top edge).
base::Point ToastPosition(const base::Rect& workArea, int width, int height, bool centred);
