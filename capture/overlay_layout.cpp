#include "capture/overlay_layout.h"

#include <algorithm>
#include <cwchar>

namespace capture {

Point FollowMagnifier(Point cursor, const Rect& primary, const Rect& screen) {
    int x = cursor.x + kFollowOffset;
    if (x + kMagnifierSize > primary.right) x = cursor.x - kFollowOffset - kMagnifierSize;
    int y = cursor.y + kFollowOffset;
    if (y + kMagnifierSize > primary.bottom) y = cursor.y - kFollowOffset - kMagnifierSize;
    return Point{x - screen.left, y - screen.top};
}

Point CornerMagnifier::Place(Point cursor, const Rect& client) {
    const Point topRight{client.right - kCornerMarginX - kMagnifierSize, client.top + kCornerMarginY};
    // Low enough that the colour panel fits under it with 15 pixels to spare.
    const Point bottomLeft{client.left + kCornerMarginX,
                           client.bottom - kMagnifierSize - kInfoPanelHeight - 15};
    if (position.x == -1 && position.y == -1) {
        position = topRight;
        flipped = false;
    } else {
        const long long dx = cursor.x - kMagnifierSize / 2 - position.x;
        const long long dy = cursor.y - kMagnifierSize / 2 - position.y;
        if (dx * dx + dy * dy < static_cast<long long>(kAvoidRadius) * kAvoidRadius) {
            position = flipped ? topRight : bottomLeft;
            flipped = !flipped;
        }
        position.x = flipped ? client.left + kCornerMarginX : client.right - kCornerMarginX - kMagnifierSize;
        position.x = std::max(position.x, client.left);
        position.y = std::max(position.y, client.top);
        if (position.x + kMagnifierSize > client.right) position.x = client.right - kMagnifierSize;
        if (position.y + kMagnifierSize > client.bottom) position.y = client.bottom - kMagnifierSize;
    }
    return Point{position.x - client.left, position.y - client.top};
}

MagnifierCopy MagnifierSource(Point cursor, int screenWidth, int screenHeight) {
    const int n = kMagnifierSize / kZoom;  // 43 source pixels
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
    copy.dest = Rect{(x0 - sx) * kZoom, (y0 - sy) * kZoom, (x1 - sx) * kZoom, (y1 - sy) * kZoom};
    return copy;
}

Point PlaceInfoPanel(Point p, bool flipped, int screenWidth, int screenHeight) {
    int x = flipped ? p.x : p.x - kInfoPanelWidth + kMagnifierSize;
    int y = p.y + kMagnifierSize;
    if (x + kInfoPanelWidth > screenWidth) x = screenWidth - kInfoPanelWidth;
    x = std::max(x, 0);
    if (y + kInfoPanelHeight > screenHeight) y = p.y - kInfoPanelHeight - 5;
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

Point PlaceSizeLabel(const Rect& s, int cx, int cy, const Rect& client) {
    int y = s.top - cy - 3;
    if (y < client.top) {
        y = s.top + 2;
        if (s.top + 2 + cy > s.bottom - 2 && s.bottom + 3 + cy <= client.bottom) y = s.bottom + 3;
    }
    int x = s.left + 2;
    if (x + cx > client.right) x = client.right - cx - 2;
    if (x < client.left) x = client.left + 2;
    return Point{x, y};
}

}  // namespace capture
