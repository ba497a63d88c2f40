// Where the capture toolbar's buttons are in its window, as its layout places them: each 20 x 20,
// 20 apart, after the 20-pixel left end piece and 16 pixels of padding, with a 40-pixel separator
// gap before pin and before undo, 8 pixels below the window's top. The toolbar test checks these
// against the laid-out controls; the capture tests click there.
#pragma once

#include <windows.h>

#include "annotation/toolbar_button.h"

inline POINT ToolbarButtonCenter(TOOL_BAR_BTN_TYPE value) {
    const int index = static_cast<int>(value) - 1;  // 0 rectangle ... 12 ok
    const int left = 36 + 40 * index + (index >= 7 ? 20 : 0) + (index >= 9 ? 20 : 0);
    return POINT{left + 10, 18};
}
