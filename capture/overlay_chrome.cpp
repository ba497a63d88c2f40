#include "capture/overlay_chrome.h"

#include "base/dpi_scale.h"

namespace capture {

OverlayChrome OverlayChromeForDpi(int dpi) {
    if (dpi <= 0) dpi = base::kBaseDpi;
    OverlayChrome chrome;
    chrome.dpi = dpi;
    chrome.labelFontHeight = base::ScaleToDpi(chrome.labelFontHeight, dpi);
    chrome.labelGap = base::ScaleToDpi(chrome.labelGap, dpi);
    chrome.labelInset = base::ScaleToDpi(chrome.labelInset, dpi);
    chrome.borderWidth = base::ScaleToDpi(chrome.borderWidth, dpi);
    chrome.handleSize = base::ScaleToDpi(chrome.handleSize, dpi);
    chrome.magnifier = MagnifierMetricsForDpi(dpi);
    return chrome;
}

OverlayChrome OverlayChromeAt(base::Point physical, const std::vector<base::ScaledMonitor>& monitors) {
    return OverlayChromeForDpi(base::DpiAt(physical, monitors));
}

MagnifierMetrics LargestMagnifier(const std::vector<base::ScaledMonitor>& monitors) {
    int dpi = base::kBaseDpi;
    for (const base::ScaledMonitor& monitor : monitors) dpi = monitor.dpi > dpi ? monitor.dpi : dpi;
    return MagnifierMetricsForDpi(dpi);
}

}  // namespace capture
