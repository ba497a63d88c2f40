#include "capture/magnifier_win.h"

#include "base/dpi_scale.h"
#include "base/unique_handle.h"
#include "capture/overlay_chrome.h"
#include "capture/overlay_style.h"

using namespace capture;

CMagnifier::CMagnifier(const Rect& screen, std::vector<base::ScaledMonitor> monitors)
    : screen_(screen), monitors_(std::move(monitors)), width_(screen.Width()), height_(screen.Height()) {}

bool CMagnifier::Create(HDC reference) {
    const MagnifierMetrics largest = LargestMagnifier(monitors_);
    return square_.Create(reference, largest.size, largest.size) &&
           panel_.Create(reference, largest.panelWidth, largest.panelHeight);
}

Rect CMagnifier::MonitorAt(Point cursor) const {
    if (const base::ScaledMonitor* monitor = base::MonitorAt(cursor, monitors_)) return monitor->physical;
    return Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

MagnifierMetrics CMagnifier::MetricsAt(Point cursor) const {
    return MagnifierMetricsForDpi(base::DpiAt(cursor, monitors_));
}

void CMagnifier::Place(Point cursor, CornerMagnifier& corner, RECT& square, RECT& panel) const {
    const MagnifierMetrics m = MetricsAt(cursor);
    const Point at = followMode_ ? FollowMagnifier(cursor, MonitorAt(cursor), screen_, m) : corner.Place(cursor, screen_, m);
    square = RECT{at.x, at.y, at.x + m.size, at.y + m.size};
    const Point below = PlaceInfoPanel(at, !followMode_ && corner.flipped, width_, height_, m);
    panel = RECT{below.x, below.y, below.x + m.panelWidth, below.y + m.panelHeight};
}

void CMagnifier::Places(Point cursor, RECT& square, RECT& panel) const {
    CornerMagnifier probe = corner_;
    Place(cursor, probe, square, panel);
}

void CMagnifier::Prepare(Point cursor, const DibCanvas& frozen, HFONT font) {
    metrics_ = MetricsAt(cursor);
    Place(cursor, corner_, squareRect_, panelRect_);
    const POINT client{cursor.x - screen_.left, cursor.y - screen_.top};
    DrawSquare(squareRect_, client, frozen);
    uint32_t colour = 0;
    if (client.x >= 0 && client.y >= 0 && client.x < width_ && client.y < height_) {
        if (frozen.Bits()) {
            colour = frozen.Bits()[static_cast<size_t>(client.y) * width_ + client.x] & 0xFFFFFF;
        } else {
            const COLORREF c = GetPixel(frozen.Dc(), client.x, client.y);
            colour = static_cast<uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
        }
    }
    DrawPanel(panelRect_, colour, font);
}

void CMagnifier::CopyInto(HDC dc, const RECT& area) const {
    for (const auto& [place, canvas] : {std::make_pair(squareRect_, &square_), std::make_pair(panelRect_, &panel_)}) {
        RECT overlap;
        if (IntersectRect(&overlap, &place, &area)) {
            BitBlt(dc, overlap.left, overlap.top, overlap.right - overlap.left, overlap.bottom - overlap.top,
                   canvas->Dc(), overlap.left - place.left, overlap.top - place.top, SRCCOPY);
        }
    }
}

void CMagnifier::DrawSquare(const RECT& square, POINT cursor, const DibCanvas& frozen) {
    // Drawn in overlay coordinates at (0, 0) of its own bitmap.
    HDC dc = square_.Dc();
    const int x = square.left, y = square.top, s = metrics_.size;
    SetViewportOrgEx(dc, -x, -y, nullptr);
    // The enlarged square; what lies beyond the screen stays black.
    PatBlt(dc, x, y, s, s, BLACKNESS);
    const MagnifierCopy copy = MagnifierSource(Point{cursor.x, cursor.y}, width_, height_, metrics_);
    if (copy.source.right > copy.source.left) {
        const int oldMode = SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, x + copy.dest.left, y + copy.dest.top, copy.dest.Width(), copy.dest.Height(), frozen.Dc(),
                   copy.source.left, copy.source.top, copy.source.Width(), copy.source.Height(), SRCCOPY);
        SetStretchBltMode(dc, oldMode);
    }
    {
        UniquePen cross(CreatePen(PS_SOLID, base::ScaleToDpi(3, metrics_.dpi), kAccent));
        SelectedObject pen(dc, cross.Get());
        MoveToEx(dc, x + 1, y + s / 2, nullptr);
        LineTo(dc, x + s - 2, y + s / 2);
        MoveToEx(dc, x + s / 2, y + 1, nullptr);
        LineTo(dc, x + s / 2, y + s - 2);
    }
    {
        UniquePen frame(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        SelectedObject pen(dc, frame.Get());
        SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, x, y, x + s, y + s);
    }
    SetViewportOrgEx(dc, 0, 0, nullptr);
}

void CMagnifier::DrawPanel(const RECT& panel, uint32_t colour, HFONT font) {
    const int red = (colour >> 16) & 0xFF, green = (colour >> 8) & 0xFF, blue = colour & 0xFF;
    hexText_ = HexColorText(red, green, blue);
    decimalText_ = DecimalColorText(red, green, blue);
    HDC dc = panel_.Dc();
    const int x = panel.left, y = panel.top, w = metrics_.panelWidth, h = metrics_.panelHeight;
    const auto scaled = [this](int length) { return base::ScaleToDpi(length, metrics_.dpi); };
    SetViewportOrgEx(dc, -x, -y, nullptr);
    {
        UniqueBrush background(CreateSolidBrush(RGB(0x19, 0x19, 0x19)));
        FillRect(dc, &panel, background.Get());
    }
    UniquePen edge(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    {
        SelectedObject pen(dc, edge.Get());
        MoveToEx(dc, x, y, nullptr);
        LineTo(dc, x, y + h);
        MoveToEx(dc, x, y + h - 1, nullptr);
        LineTo(dc, x + w, y + h - 1);
        MoveToEx(dc, x + w - 1, y, nullptr);
        LineTo(dc, x + w - 1, y + h);
    }
    const std::wstring lines[5] = {hexText_, decimalText_, L"\x590D\x5236\x989C\x8272\x503C:",
                                   L"Hex: Ctrl+H  |  Dec: Ctrl+D", L"Tab: \x5207\x6362\x653E\x5927\x955C\x6A21\x5F0F"};
    {
        SelectedObject selectedFont(dc, font);
        const COLORREF oldColor = SetTextColor(dc, RGB(255, 255, 255));
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        for (int i = 0; i < 5; ++i) {
            RECT line{x + scaled(5), y + scaled(5 + 20 * i), x + w - scaled(5), y + scaled(25 + 20 * i)};
            DrawTextW(dc, lines[i].c_str(), -1, &line, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        }
        SetBkMode(dc, oldMode);
        SetTextColor(dc, oldColor);
    }
    {
        UniqueBrush swatch(CreateSolidBrush(RGB(red, green, blue)));
        SelectedObject pen(dc, edge.Get());
        SelectedObject brush(dc, swatch.Get());
        Rectangle(dc, x + w - scaled(46), y + scaled(6), x + w - scaled(6), y + scaled(46));
    }
    SetViewportOrgEx(dc, 0, 0, nullptr);
}
