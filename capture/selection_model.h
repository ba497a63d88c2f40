// The region selection of a capture: pressing, dragging and releasing create, move and resize
// one rectangle in screen coordinates, with eight handles, a minimum size and clamping to the
// virtual screen. The pixel under the pointer where a drag ends stays outside the selection,
// except on the virtual screen's last column (row), which the selection then reaches. Pure code;
// the overlay window feeds it points and acts on its answers.
#pragma once

#include <vector>

#include "base/cursor_kind.h"
#include "base/dpi_scale.h"
#include "base/geometry.h"

namespace capture {

// The selection may be stored inverted (left > right or top > bottom) while a drag is in
// progress; it is normalised on release.
using base::Normalized;
using base::Inflated;
using base::Point;
using base::Rect;

// Where a point is relative to the selection: a handle (1 top-left, then clockwise to 8
// left-middle), inside (9) or outside (0).
enum HitCode : int {
    kHitOutside = 0,
    kHitTopLeft = 1,
    kHitTop = 2,
    kHitTopRight = 3,
    kHitRight = 4,
    kHitBottomRight = 5,
    kHitBottom = 6,
    kHitBottomLeft = 7,
    kHitLeft = 8,
    kHitInside = 9,
};

using Cursor = base::CursorKind;

constexpr int kHandleSize = 8;       // side of a handle square, and the hit tolerance
constexpr int kMinSelectionSize = 10;


// The hit code of a screen point for the selection (handle zones are 17 x 17 pixels at the
// default handle size).
int HitTest(const Rect& selection, const Rect& virtualScreen, Point p, int handleSize = kHandleSize);
// The cursor a hit code shows.
Cursor CursorForHit(int hit, bool movingAllowed);

// Each edge clamped on its own into the virtual screen.
void ClampToScreen(Rect& r, const Rect& virtualScreen);

// Where the toolbar goes: right-aligned 10 pixels under the selection, above it when there is no
// room below, and kept on the virtual screen.
Point PlaceToolbar(const Rect& selection, int toolbarWidth, int toolbarHeight, const Rect& virtualScreen,
                   int gap = 10);

// The same for a toolbar that is a DPI-unaware window of logical size toolbarLogical, under a
// selection in physical pixels: placed at the scale of the monitor under the selection's bottom
// right corner (its size and the gap scaled to that monitor's DPI), and given back in the logical
// coordinates that move the unaware window there.
Point PlaceUnawareToolbar(const Rect& selection, base::Size toolbarLogical, const Rect& virtualScreen,
                          const std::vector<base::ScaledMonitor>& monitors);

class SelectionModel {
public:
    explicit SelectionModel(const Rect& virtualScreen) : screen_(virtualScreen) {}
    // The handles' size (and hit tolerance) at the overlay's DPI.
    void SetHandleSize(int size) { handleSize_ = size; }

    struct PressResult {
        bool forwardToShapes;  // the press goes on to the annotation shapes
        bool showToolbar;      // hidden while moving or resizing
    };
    // movingAllowed: no annotation tool is active and no shape exists.
    PressResult Press(Point p, bool movingAllowed);

    struct DragResult {
        bool forwardToShapes;  // inside the selection inflated by 5
        Cursor cursor;
    };
    DragResult Drag(Point p, bool movingAllowed);

    // True when a toolbar placement is due (a finished create, move or resize).
    bool Release(Point p);

    const Rect& Selection() const { return selection_; }
    bool HasSelection() const { return hasSelection_; }
    bool Creating() const { return creating_; }
    bool Moving() const { return moving_; }
    bool Resizing() const { return resizing_; }
    int ResizeHitCode() const { return resizeHit_; }
    Point LastCursor() const { return lastCursor_; }
    Point DragStart() const { return dragStart_; }
    Point DragCurrent() const { return dragCurrent_; }
    // The selection ends (a toolbar action): nothing selected.
    void Clear();

private:
    void ResizeBy(int dx, int dy);

    Rect screen_;
    int handleSize_ = kHandleSize;
    Rect selection_;
    Point dragStart_;
    Point dragCurrent_;
    Point lastCursor_;
    Point anchor_;
    bool creating_ = false;
    bool hasSelection_ = false;
    bool moving_ = false;
    bool resizing_ = false;
    int resizeHit_ = kHitOutside;
};

}  // namespace capture
