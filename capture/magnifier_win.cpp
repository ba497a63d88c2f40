// The magnifier and its colour panel, drawn once per frame into their own small canvases.
#include "capture/overlay_style.h"
#include "capture/rectangular_selector.h"

using capture::kAccent;
using capture::ScopedSelect;

capture::Point CRectangularSelector::MagnifierPosition() {
    const capture::Point cursor = model_.LastCursor();
    if (followMode_) return capture::FollowMagnifier(cursor, primary_, screen_);
    return corner_.Place(cursor, screen_);
}

void CRectangularSelector::PrepareMagnifier() {
    using namespace capture;
    magnifierShown_ = !model_.HasSelection() || model_.Resizing();
    if (!magnifierShown_) return;
    const Point at = MagnifierPosition();
    magnifierRect_ = RECT{at.x, at.y, at.x + kMagnifierSize, at.y + kMagnifierSize};
    // The square is drawn at (0, 0) of its own bitmap, then copied to its place per area.
    HDC dc = magnifier_.Dc();
    SetViewportOrgEx(dc, -at.x, -at.y, nullptr);
    const POINT cursor = ToClient(model_.LastCursor());
    const int s = kMagnifierSize;
    // The enlarged square; what lies beyond the screen stays black.
    PatBlt(dc, at.x, at.y, s, s, BLACKNESS);
    const MagnifierCopy copy = MagnifierSource(Point{cursor.x, cursor.y}, width_, height_);
    if (copy.source.right > copy.source.left) {
        const int oldMode = SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, at.x + copy.dest.left, at.y + copy.dest.top, copy.dest.right - copy.dest.left,
                   copy.dest.bottom - copy.dest.top, frozen_.Dc(), copy.source.left, copy.source.top,
                   copy.source.right - copy.source.left, copy.source.bottom - copy.source.top, SRCCOPY);
        SetStretchBltMode(dc, oldMode);
    }
    {
        ScopedSelect pen(dc, CreatePen(PS_SOLID, 3, kAccent), true);
        MoveToEx(dc, at.x + 1, at.y + s / 2, nullptr);
        LineTo(dc, at.x + s - 2, at.y + s / 2);
        MoveToEx(dc, at.x + s / 2, at.y + 1, nullptr);
        LineTo(dc, at.x + s / 2, at.y + s - 2);
    }
    {
        ScopedSelect pen(dc, CreatePen(PS_SOLID, 1, RGB(0, 0, 0)), true);
        ScopedSelect brush(dc, GetStockObject(NULL_BRUSH), false);
        Rectangle(dc, at.x, at.y, at.x + s, at.y + s);
    }
    // The colour panel.
    uint32_t colour = 0;
    if (cursor.x >= 0 && cursor.y >= 0 && cursor.x < width_ && cursor.y < height_) {
        colour = frozen_.Bits()[static_cast<size_t>(cursor.y) * width_ + cursor.x] & 0xFFFFFF;
    }
    const int red = (colour >> 16) & 0xFF, green = (colour >> 8) & 0xFF, blue = colour & 0xFF;
    hexText_ = HexColorText(red, green, blue);
    decimalText_ = DecimalColorText(red, green, blue);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    const bool flipped = !followMode_ && corner_.flipped;
    const Point panel = PlaceInfoPanel(at, flipped, width_, height_);
    const int w = kInfoPanelWidth, h = kInfoPanelHeight;
    panelRect_ = RECT{panel.x, panel.y, panel.x + w, panel.y + h};
    dc = panel_.Dc();
    SetViewportOrgEx(dc, -panel.x, -panel.y, nullptr);
    HBRUSH background = CreateSolidBrush(RGB(0x19, 0x19, 0x19));
    RECT box{panel.x, panel.y, panel.x + w, panel.y + h};
    FillRect(dc, &box, background);
    DeleteObject(background);
    {
        ScopedSelect pen(dc, CreatePen(PS_SOLID, 1, RGB(0, 0, 0)), true);
        MoveToEx(dc, panel.x, panel.y, nullptr);
        LineTo(dc, panel.x, panel.y + h);
        MoveToEx(dc, panel.x, panel.y + h - 1, nullptr);
        LineTo(dc, panel.x + w, panel.y + h - 1);
        MoveToEx(dc, panel.x + w - 1, panel.y, nullptr);
        LineTo(dc, panel.x + w - 1, panel.y + h);
    }
    const std::wstring lines[5] = {hexText_, decimalText_, L"\x590D\x5236\x989C\x8272\x503C:",
                                   L"Hex: Ctrl+H  |  Dec: Ctrl+D", L"Tab: \x5207\x6362\x653E\x5927\x955C\x6A21\x5F0F"};
    HGDIOBJ oldFont = SelectObject(dc, labelFont_);
    const COLORREF oldColor = SetTextColor(dc, RGB(255, 255, 255));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < 5; ++i) {
        RECT line{panel.x + 5, panel.y + 5 + 20 * i, panel.x + w - 5, panel.y + 25 + 20 * i};
        DrawTextW(dc, lines[i].c_str(), -1, &line, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    SelectObject(dc, oldFont);
    {
        ScopedSelect pen(dc, CreatePen(PS_SOLID, 1, RGB(0, 0, 0)), true);
        ScopedSelect brush(dc, CreateSolidBrush(RGB(red, green, blue)), true);
        Rectangle(dc, panel.x + w - 46, panel.y + 6, panel.x + w - 6, panel.y + 46);
    }
    SetViewportOrgEx(dc, 0, 0, nullptr);
}
