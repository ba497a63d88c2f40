// Where the capture overlay puts its labels: the size label beside the selection, the magnifier
// (following the cursor or waiting in a corner) and its colour panel, and the texts they show.
// Pure code; all rectangles as in selection_model.h.
#pragma once

#include <string>

#include "capture/selection_model.h"

namespace capture {

constexpr int kMagnifierSize = 172;  // S
constexpr int kZoom = 4;             // Z
constexpr int kFollowOffset = 10;
constexpr int kCornerMarginX = 20;
constexpr int kCornerMarginY = 10;
constexpr int kAvoidRadius = 150;
constexpr int kInfoPanelWidth = 172;   // W
constexpr int kInfoPanelHeight = 110;  // H

// The magnifier's and its panel's sizes and distances: the constants above at 96 DPI, scaled
// with the overlay's DPI (the zoom stays 4).
struct MagnifierMetrics {
    int dpi = 96;
    int size = kMagnifierSize;
    int zoom = kZoom;
    int followOffset = kFollowOffset;
    int cornerMarginX = kCornerMarginX;
    int cornerMarginY = kCornerMarginY;
    int avoidRadius = kAvoidRadius;
    int panelWidth = kInfoPanelWidth;
    int panelHeight = kInfoPanelHeight;
    int panelGap = 5;  // between the square and a panel above it
};
MagnifierMetrics MagnifierMetricsForDpi(int dpi);

// Follow mode: right of and below the cursor, flipped to the other side where the primary
// monitor ends. Screen coordinates in, overlay client coordinates out.
Point FollowMagnifier(Point cursor, const Rect& primaryMonitor, const Rect& virtualScreen,
                      const MagnifierMetrics& m = MagnifierMetrics{});

// Corner mode: waits top-right and jumps to the bottom-left (and back) when the cursor comes
// within the avoid radius of its centre.
struct CornerMagnifier {
    Point position{-1, -1};  // screen coordinates; (-1, -1) before the first use
    bool flipped = false;    // true: at the bottom-left spot
    // The position for this paint (client = the overlay's client area in screen coordinates),
    // in overlay client coordinates.
    Point Place(Point cursor, const Rect& client, const MagnifierMetrics& m = MagnifierMetrics{});
};

// The part of the frozen screen the magnifier enlarges, and where it lands in the S x S square
// (the rest of the square stays black). Empty source when the cursor's square misses the screen.
struct MagnifierCopy {
    Rect source;  // in frozen-screen pixels
    Rect dest;    // in the magnifier square
};
MagnifierCopy MagnifierSource(Point cursorClient, int screenWidth, int screenHeight,
                              const MagnifierMetrics& m = MagnifierMetrics{});

// The colour panel under (or, without room, above) the magnifier at p.
Point PlaceInfoPanel(Point magnifier, bool flipped, int screenWidth, int screenHeight,
                     const MagnifierMetrics& m = MagnifierMetrics{});

// "HEX: 01 02 03" and "RGB: 1, 2, 3".
std::wstring HexColorText(int red, int green, int blue);
std::wstring DecimalColorText(int red, int green, int blue);

// The toast after a colour copy: the copied text, two spaces, "已复制" (copied).
std::wstring ColorCopyToastText(const std::wstring& copied);

// The size label's text: the position form once a selection is finished (and not being
// resized), else the cursor form. All numbers in overlay client coordinates.
std::wstring SizeLabelText(const Rect& selectionClient, bool finished, Point cursorClient);

// Where the label of text size (cx, cy) goes for the selection (client coordinates) within the
// overlay's client rectangle: above the selection, else inside its top, else below it. gap is
// the space between label and selection, inset the label's margin inside it and the screen
// (3 and 2 at 96 DPI; they scale with the overlay's chrome).
Point PlaceSizeLabel(const Rect& selectionClient, int cx, int cy, const Rect& client, int gap = 3, int inset = 2);

}  // namespace capture
