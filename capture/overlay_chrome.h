// The sizes of what the overlay draws around the selection (its own chrome: size label, border,
// handles, magnifier), at the overlay's DPI: the 96-DPI sizes scaled and rounded, so the chrome
// stays legible on a scaled display. The shapes keep the user's widths in physical pixels.
// Pure code.
#pragma once

#include <vector>

#include "base/dpi_scale.h"
#include "capture/overlay_layout.h"

namespace capture {

struct OverlayChrome {
    int dpi = 96;
    int labelFontHeight = 12;  // character height of the size label, in pixels
    int labelGap = 3;          // between the size label and the selection
    int labelInset = 2;        // the size label's margin inside the selection and the screen
    int borderWidth = 2;       // the selection's border
    int handleSize = kHandleSize;
    MagnifierMetrics magnifier;
    // How far the border and handles reach outside the selection.
    int SelectionReach() const { return handleSize / 2 + borderWidth + 1; }
};

OverlayChrome OverlayChromeForDpi(int dpi);

// On monitors of mixed scale, the chrome drawn at a physical point follows the monitor that holds
// it: the size label and handles the selection's, the magnifier the pointer's.
OverlayChrome OverlayChromeAt(base::Point physical, const std::vector<base::ScaledMonitor>& monitors);

// The largest magnifier the monitors show: its canvases are made that size once.
MagnifierMetrics LargestMagnifier(const std::vector<base::ScaledMonitor>& monitors);

}  // namespace capture
