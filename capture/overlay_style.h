// What the overlay draws with: its accent colour (the sizes are in overlay_chrome.h).
#pragma once

#include <windows.h>

#include "capture/selection_model.h"

namespace capture {

constexpr COLORREF kAccent = RGB(0x16, 0x77, 0xFF);

}  // namespace capture
