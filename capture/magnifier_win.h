// CMagnifier: the region capture's magnifier and its colour panel. It follows the cursor or
// waits in a corner (Tab switches), enlarges the frozen screen around the cursor, and reads the
// colour under it as the panel's hex and decimal texts. Each frame it is drawn once into its own
// two small canvases; the overlay then copies from them what each painted area needs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/dib_canvas.h"
#include "base/dpi_scale.h"
#include "capture/overlay_layout.h"

class CMagnifier {
public:
    // screen: the virtual screen (the overlay's client area); monitors: each monitor with its
    // DPI. The magnifier follows the pointer within its monitor, at that monitor's scale.
    CMagnifier(const capture::Rect& screen, std::vector<base::ScaledMonitor> monitors);

    // Makes the two canvases, at the largest monitor's sizes; false when either cannot be made.
    bool Create(HDC reference);

    // Where the square and its panel go for the cursor (screen coordinates), in overlay client
    // coordinates, without moving the waiting corner magnifier.
    void Places(capture::Point cursor, RECT& square, RECT& panel) const;
    // Draws the square and the panel for this frame, with the colour of frozen (the frozen
    // screen) under the cursor; texts in font.
    void Prepare(capture::Point cursor, const DibCanvas& frozen, HFONT font);
    // Copies the parts of the square and panel drawn last that lie in area into dc.
    void CopyInto(HDC dc, const RECT& area) const;

    void ToggleFollowMode() { followMode_ = !followMode_; }
    bool FollowMode() const { return followMode_; }
    // The colour panel's texts for the colour under the cursor of the last frame.
    const std::wstring& HexText() const { return hexText_; }
    const std::wstring& DecimalText() const { return decimalText_; }

private:
    // The square's and panel's places, at the sizes of the cursor's monitor; corner is the corner
    // state to place (and advance) by.
    void Place(capture::Point cursor, capture::CornerMagnifier& corner, RECT& square, RECT& panel) const;
    // The pointer's monitor (the primary one's place without any) and the sizes there.
    capture::Rect MonitorAt(capture::Point cursor) const;
    capture::MagnifierMetrics MetricsAt(capture::Point cursor) const;
    void DrawSquare(const RECT& square, POINT cursor, const DibCanvas& frozen);
    void DrawPanel(const RECT& panel, uint32_t colour, HFONT font);

    capture::Rect screen_;
    std::vector<base::ScaledMonitor> monitors_;
    capture::MagnifierMetrics metrics_;  // of the frame prepared last
    int width_;
    int height_;
    capture::CornerMagnifier corner_;
    bool followMode_ = true;
    DibCanvas square_, panel_;
    RECT squareRect_{};
    RECT panelRect_{};
    std::wstring hexText_;
    std::wstring decimalText_;
};
