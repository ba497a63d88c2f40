// What the overlay draws with: its accent colour and line widths.
#pragma once

#include <windows.h>

#include "capture/selection_model.h"

namespace capture {

constexpr COLORREF kAccent = RGB(0x16, 0x77, 0xFF);
constexpr int kBorderWidth = 2;
constexpr int kHandleHalf = kHandleSize / 2;

}  // namespace capture
