// Painting the overlay: what changed since the last frame is invalidated, and a paint composes
// the dirty area from the dimmed screen, the undimmed selection with its border, handles and size
// label, the annotations and the magnifier.
#include <algorithm>
#include <vector>

#include "capture/overlay_style.h"
#include "capture/rectangular_selector.h"

using capture::kAccent;
using capture::kBorderWidth;
using capture::kHandleHalf;
using capture::ScopedSelect;

std::wstring CRectangularSelector::LabelText(const RECT& sel) const {
    const bool finished = model_.HasSelection() && !model_.Resizing();
    const POINT cursor = ToClient(model_.LastCursor());
    return capture::SizeLabelText(capture::Rect{sel.left, sel.top, sel.right, sel.bottom}, finished,
                                  capture::Point{cursor.x, cursor.y});
}

capture::Point CRectangularSelector::LabelPosition(const RECT& sel, SIZE& extent) const {
    const std::wstring text = LabelText(sel);
    HDC dc = back_.Dc();
    HGDIOBJ old = SelectObject(dc, labelFont_);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    return capture::PlaceSizeLabel(capture::Rect{sel.left, sel.top, sel.right, sel.bottom}, extent.cx, extent.cy,
                                   capture::Rect{0, 0, width_, height_});
}

void CRectangularSelector::ChromeRects(RECT out[4]) const {
    for (int i = 0; i < 4; ++i) out[i] = RECT{};
    const RECT sel = SelectionClient();
    if (sel.right > sel.left && sel.bottom > sel.top) {
        const int margin = kHandleHalf + kBorderWidth + 1;
        out[0] = RECT{sel.left - margin, sel.top - margin, sel.right + margin, sel.bottom + margin};
        SIZE extent{};
        const capture::Point label = LabelPosition(sel, extent);
        out[1] = RECT{label.x - 1, label.y - 1, label.x + extent.cx + 1, label.y + extent.cy + 1};
    }
    if (!model_.HasSelection() || model_.Resizing()) {
        // Where the magnifier and its panel go (the corner state is not advanced here).
        const capture::Point cursor = model_.LastCursor();
        capture::Point at;
        bool flipped = false;
        if (followMode_) {
            at = capture::FollowMagnifier(cursor, primary_, screen_);
        } else {
            capture::CornerMagnifier probe = corner_;
            at = probe.Place(cursor, screen_);
            flipped = probe.flipped;
        }
        out[2] = RECT{at.x, at.y, at.x + capture::kMagnifierSize, at.y + capture::kMagnifierSize};
        const capture::Point panel = capture::PlaceInfoPanel(at, flipped, width_, height_);
        out[3] = RECT{panel.x, panel.y, panel.x + capture::kInfoPanelWidth, panel.y + capture::kInfoPanelHeight};
    }
}

namespace {

// The pixels a frame changes when the selection goes from one rectangle to another: what lies
// in only one of them, and the border band (border, handles) of each. The inside of both keeps
// its pixels: the selection is a window onto the unmoving frozen screen.
void AddSelectionChange(HRGN dirty, const RECT& before, const RECT& after, int band) {
    HRGN a = CreateRectRgnIndirect(&before);
    HRGN b = CreateRectRgnIndirect(&after);
    HRGN changed = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(changed, a, b, RGN_XOR);
    CombineRgn(dirty, dirty, changed, RGN_OR);
    for (const RECT& r : {before, after}) {
        if (r.right <= r.left) continue;
        HRGN outer = CreateRectRgnIndirect(&r);
        HRGN inner = CreateRectRgn(r.left + 2 * band, r.top + 2 * band, r.right - 2 * band, r.bottom - 2 * band);
        CombineRgn(outer, outer, inner, RGN_DIFF);
        CombineRgn(dirty, dirty, outer, RGN_OR);
        DeleteObject(outer);
        DeleteObject(inner);
    }
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(changed);
}

}  // namespace

void CRectangularSelector::InvalidateChrome() {
    RECT next[4];
    ChromeRects(next);
    HRGN dirty = CreateRectRgn(0, 0, 0, 0);
    AddSelectionChange(dirty, lastChrome_[0], next[0], kHandleHalf + kBorderWidth + 1);
    for (int i = 1; i < 4; ++i) {
        for (const RECT& r : {lastChrome_[i], next[i]}) {
            if (r.right <= r.left) continue;
            HRGN part = CreateRectRgnIndirect(&r);
            CombineRgn(dirty, dirty, part, RGN_OR);
            DeleteObject(part);
        }
    }
    InvalidateRgn(overlay_, dirty, FALSE);
    DeleteObject(dirty);
    std::copy(next, next + 4, lastChrome_);
}

namespace {

// The rectangles of a region; nothing when it has more than max of them.
std::vector<RECT> RegionRects(HRGN region, DWORD max) {
    std::vector<RECT> rects;
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size == 0) return rects;
    std::vector<BYTE> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (GetRegionData(region, size, data) && data->rdh.nCount <= max) {
        const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
        rects.assign(r, r + data->rdh.nCount);
    }
    return rects;
}

}  // namespace

void CRectangularSelector::PaintUpdate(HDC dc, HRGN update, const RECT& bounds) {
    PrepareMagnifier();
    // Where something is drawn over the dimmed screen (the selection, its label, the magnifier,
    // annotations) the frame is composed in the back buffer; everywhere else the dimmed screen
    // goes to the window as it is.
    HRGN dirty = update ? update : CreateRectRgnIndirect(&bounds);
    HRGN chrome = CreateRectRgn(0, 0, 0, 0);
    if (!annotations_.IsEmpty()) {
        SetRectRgn(chrome, 0, 0, width_, height_);
    } else {
        RECT rects[4];
        ChromeRects(rects);
        for (const RECT& c : rects) {
            if (c.right <= c.left) continue;
            HRGN part = CreateRectRgnIndirect(&c);
            CombineRgn(chrome, chrome, part, RGN_OR);
            DeleteObject(part);
        }
    }
    HRGN composed = CreateRectRgn(0, 0, 0, 0);
    HRGN plain = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(composed, dirty, chrome, RGN_AND);
    CombineRgn(plain, dirty, chrome, RGN_DIFF);
    std::vector<RECT> plainRects = RegionRects(plain, 256);
    std::vector<RECT> composedRects = RegionRects(composed, 256);
    if (plainRects.empty() && composedRects.empty()) composedRects.push_back(bounds);  // too fragmented
    for (const RECT& r : plainRects) {
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PlainScreen(), r.left, r.top, SRCCOPY);
    }
    for (const RECT& r : composedRects) {
        Render(r);
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, back_.Dc(), r.left, r.top, SRCCOPY);
    }
    DeleteObject(plain);
    DeleteObject(composed);
    DeleteObject(chrome);
    if (!update) DeleteObject(dirty);
}

void CRectangularSelector::Render(const RECT& area) {
    const int saved = SaveDC(back_.Dc());
    IntersectClipRect(back_.Dc(), area.left, area.top, area.right, area.bottom);
    BitBlt(back_.Dc(), area.left, area.top, area.right - area.left, area.bottom - area.top, PlainScreen(), area.left,
           area.top, SRCCOPY);
    const RECT sel = SelectionClient();
    RECT reach = sel;
    InflateRect(&reach, kHandleHalf + kBorderWidth + 1, kHandleHalf + kBorderWidth + 1);
    RECT overlap;
    if (sel.right > sel.left && sel.bottom > sel.top) {
        // The label may stand outside the selection, so it is always drawn (clipped to area).
        if (IntersectRect(&overlap, &reach, &area)) DrawSelection(back_.Dc(), sel, area);
        DrawSizeLabel(back_.Dc(), sel);
    }
    annotations_.Draw(back_.Dc());
    if (magnifierShown_) {
        // The magnifier and its panel were drawn once for this frame; copy what area needs.
        for (const auto& [place, dc] : {std::make_pair(magnifierRect_, magnifier_.Dc()), std::make_pair(panelRect_, panel_.Dc())}) {
            if (IntersectRect(&overlap, &place, &area)) {
                BitBlt(back_.Dc(), overlap.left, overlap.top, overlap.right - overlap.left, overlap.bottom - overlap.top,
                       dc, overlap.left - place.left, overlap.top - place.top, SRCCOPY);
            }
        }
    }
    RestoreDC(back_.Dc(), saved);
}

void CRectangularSelector::DrawSelection(HDC dc, const RECT& sel, const RECT& area) {
    RECT inside;
    if (IntersectRect(&inside, &sel, &area)) {
        BitBlt(dc, inside.left, inside.top, inside.right - inside.left, inside.bottom - inside.top, frozen_.Dc(),
               inside.left, inside.top, SRCCOPY);
    }
    {
        ScopedSelect pen(dc, CreatePen(PS_SOLID, kBorderWidth, kAccent), true);
        ScopedSelect brush(dc, GetStockObject(NULL_BRUSH), false);
        Rectangle(dc, sel.left, sel.top, sel.right, sel.bottom);
    }
    DrawSizeLabel(dc, sel);
    if (model_.HasSelection() && !model_.Moving() && !model_.Resizing() && showHandles_) {
        ScopedSelect pen(dc, CreatePen(PS_SOLID, 1, kAccent), true);
        ScopedSelect brush(dc, GetStockObject(WHITE_BRUSH), false);
        const int midX = sel.left + (sel.right - sel.left) / 2;
        const int midY = sel.top + (sel.bottom - sel.top) / 2;
        const POINT handles[8] = {{sel.left, sel.top},  {midX, sel.top},     {sel.right, sel.top},
                                  {sel.right, midY},    {sel.right, sel.bottom}, {midX, sel.bottom},
                                  {sel.left, sel.bottom}, {sel.left, midY}};
        for (const POINT& h : handles) {
            Rectangle(dc, h.x - kHandleHalf, h.y - kHandleHalf, h.x + kHandleHalf, h.y + kHandleHalf);
        }
    }
}

void CRectangularSelector::DrawSizeLabel(HDC dc, const RECT& sel) {
    SIZE extent{};
    const capture::Point at = LabelPosition(sel, extent);
    const std::wstring text = LabelText(sel);
    HGDIOBJ oldFont = SelectObject(dc, labelFont_);
    const COLORREF oldColor = SetTextColor(dc, RGB(255, 255, 255));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    SelectObject(dc, oldFont);
}
