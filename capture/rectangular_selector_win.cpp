// The region capture's life: start, the overlay window and its messages, input, the colour keys,
// the end and the output picture.
#include <system_error>

#include "capture/app_context.h"
#include "base/dib_canvas.h"
#include "capture/rectangular_selector.h"
#include "capture/screen_grab_win.h"
#include "telemetry/event_tracker.h"
#include "telemetry/usage_events.h"

namespace {

constexpr wchar_t kOverlayClass[] = L"ScreenCaptureWindow";

// The point the poller last posted; kept across captures.
std::atomic<LONG> g_lastPostedX{0};
std::atomic<LONG> g_lastPostedY{0};

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
    return annotations_.ActiveTool() == TOOL_BAR_BTN_TYPE::kNone && annotations_.IsEmpty();
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
