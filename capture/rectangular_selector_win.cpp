#include <algorithm>
#include <system_error>
#include <vector>

#include "app/app_context.h"
#include "app/dib_section.h"
#include "capture/rectangular_selector.h"
#include "capture/screen_grab_win.h"
#include "telemetry/event_tracker.h"
#include "telemetry/usage_events.h"

namespace {

constexpr wchar_t kOverlayClass[] = L"ScreenCaptureWindow";
constexpr COLORREF kAccent = RGB(0x16, 0x77, 0xFF);
constexpr int kBorderWidth = 2;
constexpr int kHandleHalf = capture::kHandleSize / 2;

// The point the poller last posted; kept across captures.
std::atomic<LONG> g_lastPostedX{0};
std::atomic<LONG> g_lastPostedY{0};

// A GDI pen or brush selected for a scope and deleted after.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object, bool owned) : dc_(dc), object_(object), owned_(owned) {
        old_ = SelectObject(dc, object);
    }
    ~Selected() {
        SelectObject(dc_, old_);
        if (owned_) DeleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
    bool owned_;
};

LPCWSTR CursorResource(capture::Cursor cursor) {
    switch (cursor) {
        case capture::Cursor::kCross: return IDC_CROSS;
        case capture::Cursor::kSizeNWSE: return IDC_SIZENWSE;
        case capture::Cursor::kSizeNS: return IDC_SIZENS;
        case capture::Cursor::kSizeNESW: return IDC_SIZENESW;
        case capture::Cursor::kSizeWE: return IDC_SIZEWE;
        case capture::Cursor::kSizeAll: return IDC_SIZEALL;
        default: return IDC_ARROW;
    }
}

}  // namespace

CRectangularSelector::CRectangularSelector(HWND requester, ICaptureAnnotations& annotations)
    : requester_(requester),
      annotations_(annotations),
      screen_{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
              GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
              GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)},
      model_(screen_) {
    width_ = screen_.right - screen_.left;
    height_ = screen_.bottom - screen_.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        primary_ = capture::Rect{monitor.rcMonitor.left, monitor.rcMonitor.top, monitor.rcMonitor.right,
                                 monitor.rcMonitor.bottom};
    } else {
        primary_ = capture::Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 96);
    ReleaseDC(nullptr, screen);
    labelFont_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"\x5FAE\x8F6F\x96C5\x9ED1");
}

CRectangularSelector::~CRectangularSelector() {
    StopPoller();
    if (labelFont_) DeleteObject(labelFont_);
    if (overlay_ && IsWindow(overlay_)) DestroyWindow(overlay_);
}

bool CRectangularSelector::Start() {
    if (width_ <= 0 || height_ <= 0) return false;
    HDC screen = GetDC(nullptr);
    const bool made = frozen_.Create(screen, width_, height_) && back_.Create(screen, width_, height_) &&
                      magnifier_.Create(screen, capture::kMagnifierSize, capture::kMagnifierSize) &&
                      panel_.Create(screen, capture::kInfoPanelWidth, capture::kInfoPanelHeight);
    // Without room for the dimmed copy the screen is shown undimmed; all else still works.
    dimmed_.Create(screen, width_, height_);
    ReleaseDC(nullptr, screen);
    if (!made) return false;
    // The frozen screen's pages are brought in while the overlay window is made.
    PageWarmer warmer(frozen_.Bits(), static_cast<size_t>(width_) * height_ * sizeof(uint32_t));

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.cbWndExtra = 4;
    wc.lpfnWndProc = &CRectangularSelector::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kOverlayClass;
    RegisterClassExW(&wc);  // already registered by an earlier capture: fine
    overlay_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kOverlayClass, L"Screen Capture", WS_POPUP,
                               screen_.left, screen_.top, width_, height_, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    warmer.Wait();
    if (!overlay_) return false;
    SetWindowLongPtrW(overlay_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // The overlay is not visible yet, so it is not in the picture. The dimmed copy is made once
    // here, so a repaint only copies pixels.
    if (!GrabScreen(frozen_, dimmed_, screen_.left, screen_.top)) return false;
    POINT cursor;
    GetCursorPos(&cursor);
    model_.Drag(capture::Point{cursor.x, cursor.y}, true);  // the readout starts at the pointer
    annotations_.SetOverlayWindow(overlay_);
    ChromeRects(lastChrome_);  // what the first paint draws over the dimmed screen
    ShowWindow(overlay_, SW_SHOW);
    UpdateWindow(overlay_);
    pollerRunning_ = true;
    try {
        poller_ = std::thread(&CRectangularSelector::Poll, this);
    } catch (const std::system_error&) {
        // Without the poller nothing could be dragged: end the capture as if cancelled.
        pollerRunning_ = false;
        return false;
    }
    return true;
}

void CRectangularSelector::RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void CRectangularSelector::End() {
    StopPoller();
    annotations_.Reset();
    if (overlay_ && IsWindow(overlay_)) {
        SetWindowLongPtrW(overlay_, GWLP_USERDATA, 0);
        DestroyWindow(overlay_);
    }
    overlay_ = nullptr;
    // Ended without a result (Escape, the overlay closed): the requester shows itself again.
    if (!resultPosted_ && requester_) PostMessageW(requester_, WM_RESTORE_AFTER_CAPTURE, 0, 0);
}

void CRectangularSelector::StopPoller() {
    pollerRunning_ = false;
    if (poller_.joinable()) poller_.join();
}

void CRectangularSelector::Poll() {
    while (pollerRunning_) {
        POINT pt;
        if (GetCursorPos(&pt) && ScreenToClient(overlay_, &pt)) {
            const bool recent = GetTickCount() - lastActivity_.load() < 1000;
            if (recent && (pt.x != g_lastPostedX || pt.y != g_lastPostedY)) {
                g_lastPostedX = pt.x;
                g_lastPostedY = pt.y;
                PostMessageW(overlay_, WM_CAPTURE_CURSOR_MOVED, 0, MAKELPARAM(pt.x, pt.y));
            }
        }
        Sleep(33);
    }
}

LRESULT CALLBACK CRectangularSelector::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CRectangularSelector*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->Handle(msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CRectangularSelector::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT client{LOWORD(lParam), HIWORD(lParam)};
    switch (msg) {
        case WM_DESTROY:
        case WM_CLOSE:
            StopPoller();
            PostQuitMessage(0);
            return 0;
        case WM_PAINT: {
            HRGN update = CreateRectRgn(0, 0, 0, 0);
            if (GetUpdateRgn(overlay_, update, FALSE) == ERROR) {
                DeleteObject(update);
                update = nullptr;
            }
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(overlay_, &ps);
            PaintUpdate(dc, update, ps.rcPaint);
            EndPaint(overlay_, &ps);
            if (update) DeleteObject(update);
            return 0;
        }
        case WM_CAPTURE_RENDER:
            PrepareMagnifier();
            Render(RECT{0, 0, width_, height_});
            ChromeRects(lastChrome_);
            GdiFlush();
            return 0;
        case WM_CAPTURE_FLUSH:
            UpdateWindow(overlay_);
            GdiFlush();
            return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SETCURSOR:
        case WM_MOUSEMOVE:
            lastActivity_ = GetTickCount();
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                PostQuitMessage(0);
            } else {
                OnKey(wParam);
            }
            return 0;
        case WM_LBUTTONDOWN: OnPress(client); return 0;
        case WM_LBUTTONUP: OnRelease(client); return 0;
        case WM_LBUTTONDBLCLK: return 0;  // reopening a text shape arrives with the text tool
        case WM_CAPTURE_CURSOR_MOVED: OnDragStep(client); return 0;
        default: return DefWindowProcW(overlay_, msg, wParam, lParam);
    }
}

bool CRectangularSelector::MovingAllowed() const {
    return annotations_.ActiveTool() == 0 && annotations_.IsEmpty();
}

POINT CRectangularSelector::ToClient(capture::Point screen) const {
    return POINT{screen.x - screen_.left, screen.y - screen_.top};
}

void CRectangularSelector::OnPress(POINT client) {
    const capture::Point p{screen_.left + client.x, screen_.top + client.y};
    const auto result = model_.Press(p, MovingAllowed());
    if (result.forwardToShapes) annotations_.OnMouseDown(client);
    InvalidateChrome();
}

void CRectangularSelector::OnDragStep(POINT client) {
    const capture::Point p{screen_.left + client.x, screen_.top + client.y};
    const auto result = model_.Drag(p, MovingAllowed());
    SetCursor(LoadCursorW(nullptr, CursorResource(result.cursor)));
    if (result.forwardToShapes) annotations_.OnMouseMove(client);
    InvalidateChrome();
}

void CRectangularSelector::OnRelease(POINT client) {
    const capture::Point p{screen_.left + client.x, screen_.top + client.y};
    model_.Release(p);  // the toolbar that a finished selection places arrives with the toolbar
    annotations_.OnMouseUp(client);
    InvalidateChrome();
}

void CRectangularSelector::OnKey(WPARAM key) {
    // The colour keys and Tab work before a selection exists and while it is resized.
    if (model_.HasSelection() && !model_.Resizing()) return;
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (control && (key == 'H' || key == 'D')) {
        const bool hex = key == 'H';
        CEventTracker::Instance().Report(hex ? kEventKeyboardCopyColorHex : kEventKeyboardCopyColorDec);
        CopyText(hex ? hexText_ : decimalText_);
        // The toast shows the last colour copied successfully, even when this copy failed.
        if (onColorCopied_) onColorCopied_(capture::ColorCopyToastText(CAppContext::Instance().GetLastColorText()));
    } else if (key == VK_TAB) {
        followMode_ = !followMode_;
        InvalidateRect(overlay_, nullptr, FALSE);
        UpdateWindow(overlay_);
    }
}

bool CRectangularSelector::CopyText(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return false;
    bool ok = false;
    if (EmptyClipboard()) {
        const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        void* locked = memory ? GlobalLock(memory) : nullptr;
        if (locked) {
            memcpy(locked, text.c_str(), bytes);
            GlobalUnlock(memory);
            ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!ok && memory) GlobalFree(memory);
    }
    CloseClipboard();
    if (ok) CAppContext::Instance().SetLastColorText(text);
    return ok;
}

RECT CRectangularSelector::SelectionClient() const {
    const capture::Rect n = capture::Normalized(model_.Selection());
    return RECT{n.left - screen_.left, n.top - screen_.top, n.right - screen_.left, n.bottom - screen_.top};
}

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

capture::Point CRectangularSelector::MagnifierPosition() {
    const capture::Point cursor = model_.LastCursor();
    if (followMode_) return capture::FollowMagnifier(cursor, primary_, screen_);
    return corner_.Place(cursor, screen_);
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
        Selected pen(dc, CreatePen(PS_SOLID, kBorderWidth, kAccent), true);
        Selected brush(dc, GetStockObject(NULL_BRUSH), false);
        Rectangle(dc, sel.left, sel.top, sel.right, sel.bottom);
    }
    DrawSizeLabel(dc, sel);
    if (model_.HasSelection() && !model_.Moving() && !model_.Resizing() && showHandles_) {
        Selected pen(dc, CreatePen(PS_SOLID, 1, kAccent), true);
        Selected brush(dc, GetStockObject(WHITE_BRUSH), false);
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
        Selected pen(dc, CreatePen(PS_SOLID, 3, kAccent), true);
        MoveToEx(dc, at.x + 1, at.y + s / 2, nullptr);
        LineTo(dc, at.x + s - 2, at.y + s / 2);
        MoveToEx(dc, at.x + s / 2, at.y + 1, nullptr);
        LineTo(dc, at.x + s / 2, at.y + s - 2);
    }
    {
        Selected pen(dc, CreatePen(PS_SOLID, 1, RGB(0, 0, 0)), true);
        Selected brush(dc, GetStockObject(NULL_BRUSH), false);
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
        Selected pen(dc, CreatePen(PS_SOLID, 1, RGB(0, 0, 0)), true);
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
        Selected pen(dc, CreatePen(PS_SOLID, 1, RGB(0, 0, 0)), true);
        Selected brush(dc, CreateSolidBrush(RGB(red, green, blue)), true);
        Rectangle(dc, panel.x + w - 46, panel.y + 6, panel.x + w - 6, panel.y + 46);
    }
    SetViewportOrgEx(dc, 0, 0, nullptr);
}

HBITMAP CRectangularSelector::ComposeOutput() {
    if (!model_.HasSelection()) return nullptr;
    const RECT sel = SelectionClient();
    const int w = sel.right - sel.left;
    const int h = sel.bottom - sel.top;
    if (w <= 0 || h <= 0) return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP output = CreateCompatibleBitmap(screen, w, h);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!output || !dc) {
        if (output) DeleteObject(output);
        if (dc) DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(dc, output);
    BitBlt(dc, 0, 0, w, h, frozen_.Dc(), sel.left, sel.top, SRCCOPY);
    // Annotations draw in overlay coordinates; shift them onto the output.
    SetViewportOrgEx(dc, -sel.left, -sel.top, nullptr);
    annotations_.Draw(dc);
    SelectObject(dc, old);
    DeleteDC(dc);
    return output;
}

void RunRegionCapture(HWND requester, ICaptureAnnotations& annotations,
                      const std::function<void(CRectangularSelector&)>& onStarted) {
    CRectangularSelector selector(requester, annotations);
    if (selector.Start()) {
        if (onStarted) onStarted(selector);
        selector.RunMessageLoop();
    }
    selector.End();
}
