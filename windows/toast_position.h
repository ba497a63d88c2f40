// Where a toast goes in the work area, how large it is and how long it stays. Pure code.
#pragma once

#include <cstddef>

#include "base/geometry.h"

// Where a toast of the given size goes in the work area: centred, or 20 pixels from the right
// and bottom edges (never past the left or top edge).
base::Point ToastPosition(const base::Rect& workArea, int width, int height, bool centred);

// A toast's size: the skin's own while text of the given extent fits it with half the margin
// around it; else grown to hold the text with margin around it, but never wider than maxWidth.
base::Size ToastSize(base::Size skin, base::Size text, base::Size margin, int maxWidth);

// How long a toast of that many characters stays: minimum, or longer for a text that takes
// longer to read, at most ten seconds.
unsigned ToastReadingMs(size_t characters, unsigned minimum);
