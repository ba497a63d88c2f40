#include "capture/overlay_renderer_win.h"

#include <algorithm>

#include "base/font_face.h"
#include "capture/overlay_layout.h"
#include "capture/overlay_style.h"
#include "capture/update_split_win.h"

using capture::kAccent;

namespace {

UniqueFont MakeLabelFont(int pixels) {
    return UniqueFont(CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, kUiFontFace));
}

void AddRect(HRGN region, const RECT& r) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    UniqueRegion part(CreateRectRgnIndirect(&r));
    CombineRgn(region, region, part.Get(), RGN_OR);
}

// The pixels a frame changes when the selection goes from one rectangle to another: what lies
// in only one of them, and the border band (border, handles) of each. The inside of both keeps
// its pixels: the selection is a window onto the unmoving frozen screen.
void AddSelectionChange(HRGN dirty, const RECT& before, const RECT& after, int band) {
    UniqueRegion a(CreateRectRgnIndirect(&before));
    UniqueRegion b(CreateRectRgnIndirect(&after));
    UniqueRegion changed(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(changed.Get(), a.Get(), b.Get(), RGN_XOR);
    CombineRgn(dirty, dirty, changed.Get(), RGN_OR);
    for (const RECT& r : {before, after}) {
        if (r.right <= r.left) continue;
        UniqueRegion outer(CreateRectRgnIndirect(&r));
        UniqueRegion inner(CreateRectRgn(r.left + 2 * band, r.top + 2 * band, r.right - 2 * band, r.bottom - 2 * band));
        CombineRgn(outer.Get(), outer.Get(), inner.Get(), RGN_DIFF);
        CombineRgn(dirty, dirty, outer.Get(), RGN_OR);
    }
}

}  // namespace

COverlayRenderer::COverlayRenderer(const capture::Rect& screen, const capture::SelectionModel& model,
                                   ICaptureAnnotations& annotations, CMagnifier& magnifier,
                                   const capture::OverlayChrome& chrome)
    : screen_(screen),
      width_(screen.Width()),
      height_(screen.Height()),
      model_(model),
      annotations_(annotations),
      magnifier_(magnifier),
      chrome_(chrome),
      labelFont_(MakeLabelFont(chrome.labelFontHeight)) {}

bool COverlayRenderer::Create(HDC reference) {
    // Without a DIB section for the frozen screen a compatible bitmap holds it; it cannot be
    // dimmed pixel by pixel, so the screen then shows undimmed.
    const bool made = frozen_.CreateOrCompatible(reference, width_, height_) && back_.Create(reference, width_, height_);
    if (made && frozen_.Bits()) dimmed_.Create(reference, width_, height_);
    return made;
}

void COverlayRenderer::Attach(HWND overlay) {
    overlay_ = overlay;
    lastChrome_ = CurrentChrome();
}

COverlayRenderer::Chrome COverlayRenderer::CurrentChrome() const {
    Chrome chrome;
    ChromeRects(chrome.rects);
    chrome.handles = HandlesShown();
    chrome.label = LabelText(SelectionClient());
    return chrome;
}

RECT COverlayRenderer::SelectionClient() const {
    const capture::Rect n = capture::Normalized(model_.Selection());
    return RECT{n.left - screen_.left, n.top - screen_.top, n.right - screen_.left, n.bottom - screen_.top};
}

std::wstring COverlayRenderer::LabelText(const RECT& sel) const {
    const bool finished = model_.HasSelection() && !model_.Resizing();
    const capture::Point cursor = model_.LastCursor();
    return capture::SizeLabelText(capture::Rect{sel.left, sel.top, sel.right, sel.bottom}, finished,
                                  capture::Point{cursor.x - screen_.left, cursor.y - screen_.top});
}

capture::Point COverlayRenderer::LabelPosition(const RECT& sel, SIZE& extent) const {
    const std::wstring text = LabelText(sel);
    {
        SelectedObject font(back_.Dc(), labelFont_.Get());
        GetTextExtentPoint32W(back_.Dc(), text.c_str(), static_cast<int>(text.size()), &extent);
    }
    return capture::PlaceSizeLabel(capture::Rect{sel.left, sel.top, sel.right, sel.bottom}, extent.cx, extent.cy,
                                   capture::Rect{0, 0, width_, height_}, chrome_.labelGap, chrome_.labelInset);
}

void COverlayRenderer::ChromeRects(RECT out[4]) const {
    std::fill(out, out + 4, RECT{});
    const RECT sel = SelectionClient();
    if (sel.right > sel.left && sel.bottom > sel.top) {
        out[0] = RECT{sel.left - chrome_.SelectionReach(), sel.top - chrome_.SelectionReach(), sel.right + chrome_.SelectionReach(),
                      sel.bottom + chrome_.SelectionReach()};
        SIZE extent{};
        const capture::Point label = LabelPosition(sel, extent);
        out[1] = RECT{label.x - 1, label.y - 1, label.x + extent.cx + 1, label.y + extent.cy + 1};
    }
    if (MagnifierShown()) magnifier_.Places(model_.LastCursor(), out[2], out[3]);
}

void COverlayRenderer::SetChrome(const capture::OverlayChrome& chrome) {
    chrome_ = chrome;
    labelFont_ = MakeLabelFont(chrome.labelFontHeight);
}

void COverlayRenderer::InvalidateChrome() {
    Chrome next = CurrentChrome();
    UniqueRegion dirty(CreateRectRgn(0, 0, 0, 0));
    // An unchanged selection and label keep their pixels (drawing a shape changes neither).
    if (!EqualRect(&lastChrome_.rects[0], &next.rects[0]) || lastChrome_.handles != next.handles) {
        AddSelectionChange(dirty.Get(), lastChrome_.rects[0], next.rects[0], chrome_.SelectionReach());
    }
    for (int i = 1; i < 4; ++i) {
        if (i == 1 && EqualRect(&lastChrome_.rects[1], &next.rects[1]) && lastChrome_.label == next.label) continue;
        AddRect(dirty.Get(), lastChrome_.rects[i]);
        AddRect(dirty.Get(), next.rects[i]);
    }
    AddRect(dirty.Get(), annotations_.TakeDirty());
    InvalidateRgn(overlay_, dirty.Get(), FALSE);
    lastChrome_ = std::move(next);
}

void COverlayRenderer::PrepareMagnifier() {
    if (MagnifierShown()) magnifier_.Prepare(model_.LastCursor(), frozen_, labelFont_.Get());
}

void COverlayRenderer::Paint() {
    UniqueRegion update(CreateRectRgn(0, 0, 0, 0));
    if (update && GetUpdateRgn(overlay_, update.Get(), FALSE) == ERROR) update.Reset();
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(overlay_, &ps);
    PaintUpdate(dc, update.Get(), ps.rcPaint);
    EndPaint(overlay_, &ps);
}

void COverlayRenderer::RenderFrame() {
    PrepareMagnifier();
    Render(RECT{0, 0, width_, height_});
    lastChrome_ = CurrentChrome();
    GdiFlush();
}

void COverlayRenderer::PaintUpdate(HDC dc, HRGN update, const RECT& bounds) {
    PrepareMagnifier();
    // Where something is drawn over the dimmed screen the frame is composed in the back buffer;
    // everywhere else the dimmed screen goes to the window as it is.
    UniqueRegion whole;
    if (!update) whole.Reset(CreateRectRgnIndirect(&bounds));
    UniqueRegion chrome(CreateRectRgn(0, 0, 0, 0));
    RECT rects[4];
    ChromeRects(rects);
    for (const RECT& c : rects) AddRect(chrome.Get(), c);
    AddRect(chrome.Get(), annotations_.Extent());
    const UpdateSplit split = SplitUpdate(update ? update : whole.Get(), chrome.Get());
    for (const RECT& r : split.plain) {
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PlainScreen(), r.left, r.top, SRCCOPY);
    }
    if (split.composed.empty()) return;
    // One render for all composed pieces, clipped to them: every pass of the shapes costs.
    UniqueRegion composed(CreateRectRgn(0, 0, 0, 0));
    RECT box = split.composed.front();
    for (const RECT& r : split.composed) {
        AddRect(composed.Get(), r);
        UnionRect(&box, &box, &r);
    }
    Render(box, composed.Get());
    for (const RECT& r : split.composed) {
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, back_.Dc(), r.left, r.top, SRCCOPY);
    }
}

void COverlayRenderer::Render(const RECT& area, HRGN clip) {
    HDC dc = back_.Dc();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    if (clip) ExtSelectClipRgn(dc, clip, RGN_AND);
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, PlainScreen(), area.left,
           area.top, SRCCOPY);
    const RECT sel = SelectionClient();
    if (sel.right > sel.left && sel.bottom > sel.top) {
        RECT reach = sel, overlap;
        InflateRect(&reach, chrome_.SelectionReach(), chrome_.SelectionReach());
        const bool meets = IntersectRect(&overlap, &reach, &area) != FALSE;
        // Selection, label, handles, in this order; the label may stand outside the selection,
        // so it is always drawn (clipped to area).
        if (meets) DrawSelection(dc, sel, area);
        DrawSizeLabel(dc, sel);
        if (meets) DrawHandles(dc, sel);
    }
    annotations_.Draw(dc, area, POINT{0, 0}, true);
    if (MagnifierShown()) magnifier_.CopyInto(dc, area);
    RestoreDC(dc, saved);
}

void COverlayRenderer::DrawSelection(HDC dc, const RECT& sel, const RECT& area) {
    RECT inside;
    if (IntersectRect(&inside, &sel, &area)) {
        BitBlt(dc, inside.left, inside.top, inside.right - inside.left, inside.bottom - inside.top, frozen_.Dc(),
               inside.left, inside.top, SRCCOPY);
    }
    UniquePen border(CreatePen(PS_SOLID, chrome_.borderWidth, kAccent));
    SelectedObject pen(dc, border.Get());
    SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, sel.left, sel.top, sel.right, sel.bottom);
}

bool COverlayRenderer::HandlesShown() const {
    return model_.HasSelection() && !model_.Moving() && !model_.Resizing() && showHandles_;
}

void COverlayRenderer::DrawHandles(HDC dc, const RECT& sel) {
    if (!HandlesShown()) return;
    UniquePen frame(CreatePen(PS_SOLID, 1, kAccent));
    SelectedObject pen(dc, frame.Get());
    SelectedObject brush(dc, GetStockObject(WHITE_BRUSH));
    const int midX = sel.left + (sel.right - sel.left) / 2;
    const int midY = sel.top + (sel.bottom - sel.top) / 2;
    const POINT handles[8] = {{sel.left, sel.top},    {midX, sel.top},         {sel.right, sel.top},
                              {sel.right, midY},      {sel.right, sel.bottom}, {midX, sel.bottom},
                              {sel.left, sel.bottom}, {sel.left, midY}};
    const int half = chrome_.handleSize / 2;
    for (const POINT& h : handles) {
        Rectangle(dc, h.x - half, h.y - half, h.x + half, h.y + half);
    }
}

void COverlayRenderer::DrawSizeLabel(HDC dc, const RECT& sel) {
    SIZE extent{};
    const capture::Point at = LabelPosition(sel, extent);
    const std::wstring text = LabelText(sel);
    SelectedObject font(dc, labelFont_.Get());
    const COLORREF oldColor = SetTextColor(dc, RGB(255, 255, 255));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
}
