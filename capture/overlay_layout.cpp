#include "capture/overlay_layout.h"

#include <algorithm>
#include <cwchar>

#include "base/dpi_scale.h"

namespace capture {

MagnifierMetrics MagnifierMetricsForDpi(int dpi) {
    MagnifierMetrics m;
    m.dpi = dpi;
    for (int* length : {&m.size, &m.followOffset, &m.cornerMarginX, &m.cornerMarginY, &m.avoidRadius, &m.panelWidth,
                        &m.panelHeight, &m.panelGap}) {
        *length = base::ScaleToDpi(*length, dpi);
    }
    return m;
}

Point FollowMagnifier(Point cursor, const Rect& primary, const Rect& screen, const MagnifierMetrics& m) {
    int x = cursor.x + m.followOffset;
    if (x + m.size > primary.right) x = cursor.x - m.followOffset - m.size;
    int y = cursor.y + m.followOffset;
    if (y + m.size > primary.bottom) y = cursor.y - m.followOffset - m.size;
    return Point{x - screen.left, y - screen.top};
}

Point CornerMagnifier::Place(Point cursor, const Rect& client, const MagnifierMetrics& m) {
    const int size = m.size, marginX = m.cornerMarginX;
    const Point topRight{client.right - marginX - size, client.top + m.cornerMarginY};
    // Low enough that the colour panel fits under it with 15 pixels (at 96 DPI) to spare.
    const Point bottomLeft{client.left + marginX,
                           client.bottom - size - m.panelHeight - base::ScaleToDpi(15, m.dpi)};
    if (position.x == -1 && position.y == -1) {
        position = topRight;
        flipped = false;
    } else {
        const long long dx = cursor.x - size / 2 - position.x;
        const long long dy = cursor.y - size / 2 - position.y;
        if (dx * dx + dy * dy < static_cast<long long>(m.avoidRadius) * m.avoidRadius) {
            position = flipped ? topRight : bottomLeft;
            flipped = !flipped;
        }
        position.x = flipped ? client.left + marginX : client.right - marginX - size;
        position.x = std::max(position.x, client.left);
        position.y = std::max(position.y, client.top);
        if (position.x + size > client.right) position.x = client.right - size;
        if (position.y + size > client.bottom) position.y = client.bottom - size;
    }
    return Point{position.x - client.left, position.y - client.top};
}

MagnifierCopy MagnifierSource(Point cursor, int screenWidth, int screenHeight, const MagnifierMetrics& m) {
    const int zoom = m.zoom;
    const int n = m.size / zoom;  // 43 source pixels at 96 DPI
    const int half = n / 2;
    const int sx = cursor.x - half;
    const int sy = cursor.y - half;
    const int x0 = std::max(sx, 0);
    const int y0 = std::max(sy, 0);
    const int x1 = std::min(screenWidth, sx + n);
    const int y1 = std::min(screenHeight, sy + n);
    MagnifierCopy copy;
    if (x1 <= x0 || y1 <= y0) return copy;
    copy.source = Rect{x0, y0, x1, y1};
    copy.dest = Rect{(x0 - sx) * zoom, (y0 - sy) * zoom, (x1 - sx) * zoom, (y1 - sy) * zoom};
    return copy;
}

Point PlaceInfoPanel(Point p, bool flipped, int screenWidth, int screenHeight, const MagnifierMetrics& m) {
    int x = flipped ? p.x : p.x - m.panelWidth + m.size;
    int y = p.y + m.size;
    if (x + m.panelWidth > screenWidth) x = screenWidth - m.panelWidth;
    x = std::max(x, 0);
    if (y + m.panelHeight > screenHeight) y = p.y - m.panelHeight - m.panelGap;
    return Point{x, y};
}

std::wstring HexColorText(int red, int green, int blue) {
    wchar_t text[256];
    std::swprintf(text, 256, L"HEX: %02X %02X %02X", red, green, blue);
    return text;
}

std::wstring DecimalColorText(int red, int green, int blue) {
    wchar_t text[256];
    std::swprintf(text, 256, L"RGB: %d, %d, %d", red, green, blue);
    return text;
}

std::wstring ColorCopyToastText(const std::wstring& copied) { return copied + L"  \u5DF2\u590D\u5236"; }

std::wstring SizeLabelText(const Rect& s, bool finished, Point cursor) {
    wchar_t text[64];
    if (finished) {
        std::swprintf(text, 64, L"Size: %d\u00D7%d  Pos: %d,%d \u2192 %d,%d", s.right - s.left,
                      s.bottom - s.top, s.left, s.top, s.right, s.bottom);
    } else {
        std::swprintf(text, 64, L"Size: %d\u00D7%d  Cursor: %d,%d", s.right - s.left, s.bottom - s.top,
                      cursor.x, cursor.y);
    }
    return text;
}

Point PlaceSizeLabel(const Rect& s, int cx, int cy, const Rect& client, int gap, int inset) {
    int y = s.top - cy - gap;
    if (y < client.top) {
        y = s.top + inset;
        if (s.top + inset + cy > s.bottom - inset && s.bottom + gap + cy <= client.bottom) y = s.bottom + gap;
    }
    int x = s.left + inset;
    if (x + cx > client.right) x = client.right - cx - inset;
    if (x < client.left) x = client.left + inset;
    return Point{x, y};
}

}  // namespace capture
