#include <gtest/gtest.h>

#include "base/dpi_scale.h"
#include "capture/overlay_chrome.h"
#include "capture/selection_model.h"

using base::Point;
using base::Rect;
using base::ScaledMonitor;

TEST(DpiScale, OneMonitorAtEachCommonScale) {
    // A 2880 x 1800 panel: its logical size at 100, 125, 150 and 200 %.
    const struct {
        int dpi;
        Rect logical;
        Point corner;  // physical (2879, 1799) seen by an unaware window
    } cases[] = {{96, {0, 0, 2880, 1800}, {2879, 1799}},
                 {120, {0, 0, 2304, 1440}, {2303, 1439}},
                 {144, {0, 0, 1920, 1200}, {1919, 1199}},
                 {192, {0, 0, 1440, 900}, {1440, 900}}};
    for (const auto& c : cases) {
        const std::vector<ScaledMonitor> one{{{0, 0, 2880, 1800}, c.dpi}};
        EXPECT_EQ(base::LogicalRect(one[0]), c.logical) << c.dpi;
        EXPECT_EQ(base::PhysicalToLogical({2879, 1799}, one), c.corner) << c.dpi;
        EXPECT_EQ(base::LogicalToPhysical(base::PhysicalToLogical({300, 150}, one), one), (Point{300, 150})) << c.dpi;
    }
    EXPECT_EQ(base::ScaleToDpi(172, 144), 258);
    EXPECT_EQ(base::ScaleToDpi(-10, 144), -15);
    EXPECT_EQ(base::PhysicalToLogical({5, 5}, {}), (Point{5, 5}));
}

TEST(DpiScale, TwoMonitorsWithTheirOwnScalesIncludingNegativeCoordinates) {
    // A 150 % laptop on the left of a 100 % monitor, and a 200 % one above at negative coordinates.
    const std::vector<ScaledMonitor> monitors{{{-2880, 0, 0, 1800}, 144},
                                              {{0, 0, 1920, 1080}, 96},
                                              {{0, -2160, 3840, 0}, 192}};
    EXPECT_EQ(base::LogicalRect(monitors[0]), (Rect{-2880, 0, -960, 1200}));
    EXPECT_EQ(base::PhysicalToLogical({-1440, 900}, monitors), (Point{-1920, 600}));
    EXPECT_EQ(base::PhysicalToLogical({100, 100}, monitors), (Point{100, 100}));
    EXPECT_EQ(base::PhysicalToLogical({3840 - 2, -2}, monitors), (Point{1919, -1081}));
    EXPECT_EQ(base::LogicalToPhysical({-1920, 600}, monitors), (Point{-1440, 900}));
    EXPECT_EQ(base::LogicalToPhysical({1000, -1500}, monitors), (Point{2000, -840}));
    // A point off every monitor goes by the nearest one.
    EXPECT_EQ(base::DpiAt({-5000, 100}, monitors), 144);
    EXPECT_EQ(base::DpiAt({2500, 900}, monitors), 96);
}

TEST(DpiScale, APixelOnASharedEdgeBelongsToTheMonitorThatStartsThere) {
    // Side by side and stacked, in either order: the first column (row) of the right (lower)
    // monitor is its own, the last one of the left (upper) monitor stays there.
    const ScaledMonitor left{{0, 0, 1920, 1080}, 96}, right{{1920, 0, 3840, 1080}, 144};
    const ScaledMonitor lower{{0, 1080, 1920, 2160}, 192};
    for (const auto& monitors : {std::vector<ScaledMonitor>{left, right, lower}, std::vector<ScaledMonitor>{lower, right, left}}) {
        EXPECT_EQ(base::DpiAt({1919, 500}, monitors), 96);
        EXPECT_EQ(base::DpiAt({1920, 500}, monitors), 144);
        EXPECT_EQ(base::DpiAt({500, 1079}, monitors), 96);
        EXPECT_EQ(base::DpiAt({500, 1080}, monitors), 192);
        EXPECT_EQ(base::PhysicalToLogical({1920, 1079}, monitors), (Point{1920, 719}));
        EXPECT_EQ(base::MonitorAt({1920, 0}, monitors)->physical, right.physical);
        // The right monitor's logical rectangle starts at its physical corner, so its first
        // logical column converts with its scale too.
        EXPECT_EQ(base::LogicalToPhysical({1920, 100}, monitors), (Point{1920, 150}));
    }
}

TEST(DpiScale, TheUnawareToolbarIsPlacedUnderAPhysicalSelectionOnA150PercentMonitor) {
    const std::vector<ScaledMonitor> monitors{{{0, 0, 2880, 1800}, 144}};
    const Rect screen{0, 0, 2880, 1800};
    // 592 x 84 logical is 888 x 126 physical; right-aligned 15 pixels under the selection.
    EXPECT_EQ(capture::PlaceUnawareToolbar({1000, 300, 2000, 900}, {592, 84}, screen, monitors),
              (Point{(2000 - 888) * 2 / 3, (900 + 15) * 2 / 3}));
    // No room below: above it, still at the monitor's scale.
    EXPECT_EQ(capture::PlaceUnawareToolbar({1000, 1000, 2000, 1790}, {592, 84}, screen, monitors),
              (Point{741, 573}));  // (1000 - 126 - 15) / 1.5, rounded
    // At 100 % it is the plain placement.
    const std::vector<ScaledMonitor> plain{{{0, 0, 1920, 1080}, 96}};
    EXPECT_EQ(capture::PlaceUnawareToolbar({100, 100, 800, 400}, {592, 84}, {0, 0, 1920, 1080}, plain),
              capture::PlaceToolbar({100, 100, 800, 400}, 592, 84, {0, 0, 1920, 1080}));
}

TEST(DpiScale, TheOverlaysChromeGrowsWithTheDpi) {
    const struct {
        int dpi, label, border, handle, magnifier, panelHeight;
    } cases[] = {{96, 12, 2, 8, 172, 110}, {120, 15, 3, 10, 215, 138}, {144, 18, 3, 12, 258, 165},
                 {192, 24, 4, 16, 344, 220}};
    for (const auto& c : cases) {
        const capture::OverlayChrome chrome = capture::OverlayChromeForDpi(c.dpi);
        EXPECT_EQ(chrome.labelFontHeight, c.label) << c.dpi;
        EXPECT_EQ(chrome.borderWidth, c.border) << c.dpi;
        EXPECT_EQ(chrome.handleSize, c.handle) << c.dpi;
        EXPECT_EQ(chrome.magnifier.size, c.magnifier) << c.dpi;
        EXPECT_EQ(chrome.magnifier.panelHeight, c.panelHeight) << c.dpi;
        EXPECT_EQ(chrome.magnifier.zoom, 4) << c.dpi;
    }
    // The size label keeps as clear of the selection's top handles as at 96 DPI.
    const struct {
        int dpi, gap, inset;
    } labels[] = {{96, 3, 2}, {144, 5, 3}, {192, 6, 4}};
    for (const auto& c : labels) {
        const capture::OverlayChrome chrome = capture::OverlayChromeForDpi(c.dpi);
        const capture::Point label = capture::PlaceSizeLabel({100, 100, 300, 200}, 150, chrome.labelFontHeight,
                                                             {0, 0, 1920, 1080}, chrome.labelGap, chrome.labelInset);
        EXPECT_EQ(100 - (label.y + chrome.labelFontHeight), c.gap) << c.dpi;
        EXPECT_EQ(label.x, 100 + c.inset) << c.dpi;
    }
    // The magnifier shows the square's worth of source pixels at the larger size.
    const auto copy = capture::MagnifierSource({500, 500}, 1920, 1080, capture::MagnifierMetricsForDpi(144));
    EXPECT_EQ(copy.source.Width(), 258 / 4);
    EXPECT_EQ(copy.dest.Width(), 258 / 4 * 4);
}

TEST(DpiScale, OnMixedMonitorsTheChromeFollowsTheMonitorItIsDrawnOn) {
    // A 100 % monitor on the left and a 150 % one on its right, in physical pixels.
    const std::vector<base::ScaledMonitor> monitors = {{{0, 0, 1920, 1080}, 96}, {{1920, 0, 4800, 1620}, 144}};
    const capture::OverlayChrome left = capture::OverlayChromeAt({300, 200}, monitors);
    const capture::OverlayChrome right = capture::OverlayChromeAt({2500, 900}, monitors);
    EXPECT_EQ(left.dpi, 96);
    EXPECT_EQ(left.handleSize, 8);
    EXPECT_EQ(right.dpi, 144);
    EXPECT_EQ(right.handleSize, 12);
    EXPECT_EQ(right.labelFontHeight, 18);
    EXPECT_EQ(right.magnifier.size, 258);
    // Beyond every monitor: the nearest one's.
    EXPECT_EQ(capture::OverlayChromeAt({5000, 100}, monitors).dpi, 144);
    // The magnifier's canvases hold the largest of them.
    EXPECT_EQ(capture::LargestMagnifier(monitors).size, 258);
    EXPECT_EQ(capture::LargestMagnifier({}).size, 172);
    EXPECT_EQ(base::MonitorAt({2000, 10}, monitors)->physical.left, 1920);
    EXPECT_EQ(base::MonitorAt({2000, 10}, {}), nullptr);
}
