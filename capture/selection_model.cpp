#include "capture/selection_model.h"

#include <algorithm>
#include <cstdlib>

namespace capture {

namespace {

bool Near(int value, int target, int tolerance) { return target - tolerance <= value && value <= target + tolerance; }

int Clamp(int value, int low, int high) { return std::min(std::max(value, low), high); }

// The pixel under the pointer where a drag ends stays outside the selection, but the pointer cannot
// pass the screen's last column (row): there a side the pointer places takes in that pixel too.
int SideAtPointer(int coordinate, int screenEnd) { return coordinate >= screenEnd - 1 ? screenEnd : coordinate; }

// Which sides a resize handle moves.
bool MovesLeft(int code) { return code == kHitTopLeft || code == kHitBottomLeft || code == kHitLeft; }
bool MovesRight(int code) { return code == kHitTopRight || code == kHitRight || code == kHitBottomRight; }
bool MovesTop(int code) { return code == kHitTopLeft || code == kHitTop || code == kHitTopRight; }
bool MovesBottom(int code) { return code == kHitBottomRight || code == kHitBottom || code == kHitBottomLeft; }

// A resized side that the pointer on the screen's last column (row) holds short of the far edge is
// put on it; the anchor shifts by as much, so moving back keeps the side's offset from the pointer.
void ReachFarEdge(int* side, int pointer, int& anchor, int screenEnd) {
    if (side == nullptr || pointer < screenEnd - 1 || *side == screenEnd) return;
    anchor += screenEnd - *side;
    *side = screenEnd;
}

}  // namespace

int HitTest(const Rect& selection, const Rect& screen, Point p, int handleSize) {
    const int x = p.x - screen.left;
    const int y = p.y - screen.top;
    const int l = std::min(selection.left, selection.right) - screen.left;
    const int t = std::min(selection.top, selection.bottom) - screen.top;
    const int w = std::abs(selection.right - selection.left);
    const int h = std::abs(selection.bottom - selection.top);
    const struct {
        int code, hx, hy;
    } handles[] = {{kHitTopLeft, l, t},          {kHitTop, l + w / 2, t},
                   {kHitTopRight, l + w, t},      {kHitRight, l + w, t + h / 2},
                   {kHitBottomRight, l + w, t + h}, {kHitBottom, l + w / 2, t + h},
                   {kHitBottomLeft, l, t + h},    {kHitLeft, l, t + h / 2}};
    for (const auto& handle : handles) {
        if (Near(x, handle.hx, handleSize) && Near(y, handle.hy, handleSize)) return handle.code;
    }
    return l <= x && x <= l + w && t <= y && y <= t + h ? kHitInside : kHitOutside;
}

Cursor CursorForHit(int hit, bool movingAllowed) {
    switch (hit) {
        case kHitTopLeft:
        case kHitBottomRight: return Cursor::kSizeNWSE;
        case kHitTop:
        case kHitBottom: return Cursor::kSizeNS;
        case kHitTopRight:
        case kHitBottomLeft: return Cursor::kSizeNESW;
        case kHitRight:
        case kHitLeft: return Cursor::kSizeWE;
        case kHitInside: return movingAllowed ? Cursor::kSizeAll : Cursor::kArrow;
        default: return Cursor::kArrow;
    }
}

void ClampToScreen(Rect& r, const Rect& s) {
    r.left = Clamp(r.left, s.left, s.right);
    r.right = Clamp(r.right, s.left, s.right);
    r.top = Clamp(r.top, s.top, s.bottom);
    r.bottom = Clamp(r.bottom, s.top, s.bottom);
}

Point PlaceToolbar(const Rect& selection, int tw, int th, const Rect& s, int gap) {
    const Rect sel = Normalized(selection);
    int x = sel.right - tw;
    int y = sel.bottom + gap;
    if (y + th > s.bottom) y = sel.top - th - gap;
    x = std::max(x, s.left);
    y = std::max(y, s.top);
    if (x + tw > s.right) x = s.right - tw;
    if (y + th > s.bottom) y = s.bottom - th;
    return Point{x, y};
}

Point PlaceUnawareToolbar(const Rect& selection, base::Size logical, const Rect& screen,
                          const std::vector<base::ScaledMonitor>& monitors) {
    const Rect sel = Normalized(selection);
    const int dpi = base::DpiAt(Point{sel.right - 1, sel.bottom - 1}, monitors);
    const Point at = PlaceToolbar(sel, base::ScaleToDpi(logical.cx, dpi), base::ScaleToDpi(logical.cy, dpi), screen,
                                  base::ScaleToDpi(10, dpi));
    return base::PhysicalToLogical(at, monitors);
}

SelectionModel::PressResult SelectionModel::Press(Point p, bool movingAllowed) {
    lastCursor_ = p;
    if (!hasSelection_) {
        const int x = SideAtPointer(p.x, screen_.right);
        const int y = SideAtPointer(p.y, screen_.bottom);
        selection_ = Rect{x, y, x, y};
        creating_ = true;
        dragStart_ = dragCurrent_ = p;
    } else {
        resizeHit_ = HitTest(selection_, screen_, p, handleSize_);
        if (resizeHit_ >= kHitTopLeft && resizeHit_ <= kHitLeft) {
            resizing_ = true;
            anchor_ = p;
        } else if (resizeHit_ == kHitInside && movingAllowed) {
            moving_ = true;
            anchor_ = p;
        }
    }
    return PressResult{!resizing_ && selection_.Contains(p), !resizing_ && !moving_};
}

void SelectionModel::ResizeBy(int dx, int dy) {
    const int code = resizeHit_;
    if (MovesLeft(code)) selection_.left += dx;
    if (MovesRight(code)) selection_.right += dx;
    if (MovesTop(code)) selection_.top += dy;
    if (MovesBottom(code)) selection_.bottom += dy;
    // Too narrow or too low: the edge being dragged snaps back to the minimum size.
    if (std::abs(selection_.right - selection_.left) < kMinSelectionSize) {
        if (MovesLeft(code)) {
            selection_.left = selection_.right - kMinSelectionSize;
        } else {
            selection_.right = selection_.left + kMinSelectionSize;
        }
    }
    if (std::abs(selection_.bottom - selection_.top) < kMinSelectionSize) {
        if (MovesTop(code)) {
            selection_.top = selection_.bottom - kMinSelectionSize;
        } else {
            selection_.bottom = selection_.top + kMinSelectionSize;
        }
    }
}

SelectionModel::DragResult SelectionModel::Drag(Point p, bool movingAllowed) {
    lastCursor_ = p;
    if (creating_) {
        dragCurrent_ = p;
        selection_.right = SideAtPointer(p.x, screen_.right);
        selection_.bottom = SideAtPointer(p.y, screen_.bottom);
        ClampToScreen(selection_, screen_);
    } else if (moving_ && movingAllowed) {
        const int dx = p.x - anchor_.x;
        const int dy = p.y - anchor_.y;
        selection_.left += dx;
        selection_.right += dx;
        selection_.top += dy;
        selection_.bottom += dy;
        ClampToScreen(selection_, screen_);
        anchor_ = p;
    } else if (resizing_) {
        ResizeBy(p.x - anchor_.x, p.y - anchor_.y);
        ClampToScreen(selection_, screen_);
        anchor_ = p;
        const int code = resizeHit_;
        ReachFarEdge(MovesLeft(code) ? &selection_.left : MovesRight(code) ? &selection_.right : nullptr, p.x,
                     anchor_.x, screen_.right);
        ReachFarEdge(MovesTop(code) ? &selection_.top : MovesBottom(code) ? &selection_.bottom : nullptr, p.y,
                     anchor_.y, screen_.bottom);
    }
    if (Inflated(selection_, 5).Contains(p)) {
        return DragResult{true, CursorForHit(HitTest(selection_, screen_, p, handleSize_), movingAllowed)};
    }
    return DragResult{false, hasSelection_ ? Cursor::kArrow : Cursor::kCross};
}

bool SelectionModel::Release(Point p) {
    if (creating_) {
        creating_ = false;
        dragCurrent_ = p;
        selection_ = Normalized(selection_);
        const bool bigEnough = selection_.right - selection_.left >= kMinSelectionSize &&
                               selection_.bottom - selection_.top >= kMinSelectionSize;
        hasSelection_ = bigEnough;
        if (!bigEnough) selection_ = Rect{};
        return bigEnough;
    }
    if (moving_) {
        moving_ = false;
        return true;
    }
    if (resizing_) {
        selection_ = Normalized(selection_);
        resizing_ = false;
        return true;
    }
    return false;
}

void SelectionModel::Clear() {
    selection_ = Rect{};
    creating_ = moving_ = resizing_ = hasSelection_ = false;
    resizeHit_ = kHitOutside;
}

}  // namespace capture
