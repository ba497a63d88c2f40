// Logical pixels (what a DPI-unaware window sees: 96 per inch) and physical pixels (the screen's
// own) on displays scaled per monitor. An unaware program sees each monitor at its own scale:
// the monitor's top-left corner stays where it is and its size shrinks by the scale, so points
// convert through the monitor that holds them. Pure code.
#pragma once

#include <vector>

#include "base/geometry.h"

namespace base {

constexpr int kBaseDpi = 96;

// A length given at 96 DPI, at dpi: rounded to the nearest pixel (half away from zero).
int ScaleToDpi(int value, int dpi);

struct ScaledMonitor {
    Rect physical;
    int dpi = kBaseDpi;
};

// The monitor as an unaware window sees it.
Rect LogicalRect(const ScaledMonitor& monitor);

// Converts through the monitor that holds the point (in the space it is given in), or else the
// nearest one. Without monitors the point stays as it is.
Point PhysicalToLogical(Point physical, const std::vector<ScaledMonitor>& monitors);
Point LogicalToPhysical(Point logical, const std::vector<ScaledMonitor>& monitors);

// The DPI of the monitor that holds the physical point (or the nearest); 96 without monitors.
int DpiAt(Point physical, const std::vector<ScaledMonitor>& monitors);

// The monitor that holds the physical point, or the nearest; null without monitors.
const ScaledMonitor* MonitorAt(Point physical, const std::vector<ScaledMonitor>& monitors);

}  // namespace base
