// The region capture's life: start, the overlay window and its messages, input, the colour keys,
// the end and the output picture.
#include <chrono>
#include <system_error>

#include "base/window_transitions.h"
#include "base/clipboard.h"
#include "base/cursor_kind_win.h"
#include "base/dib_canvas.h"
#include "base/dpi_context.h"
#include "base/message_loop.h"
#include "base/unique_handle.h"
#include "capture/app_context.h"
#include "capture/rectangular_selector.h"
#include "capture/screen_grab_win.h"
#include "telemetry/event_tracker.h"
#include "telemetry/usage_events.h"

namespace {

constexpr wchar_t kOverlayClass[] = L"ScreenCaptureWindow";
constexpr wchar_t kToolbarTitle[] = L"rectangular_selector_tool_bar";
// WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX; the toolkit removes the
// frame again, so the window is the layout's size.
constexpr DWORD kToolbarStyle = 0x10CE0000;
// The longest the grab waits for the windows hidden for it to leave the screen.
constexpr DWORD kHiddenWindowsGoneWaitMs = 1000;

capture::Rect VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return capture::Rect{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                         top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The primary monitor's DPI: the overlay's chrome is drawn at it.
int PrimaryDpi(const std::vector<base::ScaledMonitor>& monitors) {
    return base::DpiAt(base::Point{0, 0}, monitors);
}

}  // namespace

CRectangularSelector::CRectangularSelector(HWND requester, ICaptureAnnotations& annotations,
                                           PictureTargetSource target, PictureSink sink, HiddenWindowsLook hidden)
    : requester_(requester),
      hidden_(std::move(hidden)),
      target_(std::move(target)),
      sink_(std::move(sink)),
      annotations_(annotations),
      screen_(VirtualScreen()),
      monitors_(ScaledMonitors()),
      chrome_(capture::OverlayChromeForDpi(PrimaryDpi(monitors_))),
      model_(screen_),
      magnifier_(screen_, monitors_),
      renderer_(screen_, model_, annotations_, magnifier_, chrome_) {
    model_.SetHandleSize(chrome_.handleSize);
}

CRectangularSelector::~CRectangularSelector() {
    StopPoller();
    toolbar_.Dismiss();
    if (overlay_ && IsWindow(overlay_)) DestroyWindow(overlay_);
}

bool CRectangularSelector::Start() {
    const int width = screen_.Width(), height = screen_.Height();
    if (width <= 0 || height <= 0) return false;
    {
        WindowDc screen(nullptr);
        if (!renderer_.Create(screen.Get()) || !magnifier_.Create(screen.Get())) return false;
    }
    // The screen is grabbed on a second thread while the overlay window is made here: the window
    // is not visible yet, so it is not in the picture. The dimmed copy is made once, during the
    // grab, so a repaint only copies pixels. A window still fading out (the requester hiding
    // itself) is first let finish. Without a compositor (Windows 7's basic theme, a remote
    // session) the windows under the hidden ones repaint in their own time, so the grab also
    // waits until the screen no longer shows them; with one they are gone already, and the
    // check costs one read of their area. The grab reads physical pixels, as this thread does.
    BackgroundGrab grab([this] {
        ThreadDpiScope perMonitor(DpiMode::kPerMonitor);
        FlushCompositor();
        hidden_.WaitUntilGone(kHiddenWindowsGoneWaitMs);
        return GrabScreen(renderer_.Frozen(), renderer_.Dimmed(), screen_.left, screen_.top);
    });

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
                               screen_.left, screen_.top, width, height, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    const bool grabbed = grab.Wait();
    if (!overlay_ || !grabbed) return false;
    SetWindowLongPtrW(overlay_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    POINT cursor;
    GetCursorPos(&cursor);
    model_.Drag(capture::Point{cursor.x, cursor.y}, true);  // the readout starts at the pointer
    annotations_.SetOverlayWindow(overlay_);
    renderer_.Attach(overlay_);
    // The keyboard's Escape, Tab and colour keys go to the foreground window: the overlay takes
    // it with the right its process was given by the hotkey, menu or click that started it
    // (showing a window from this thread does not take it on Windows).
    ShowWindow(overlay_, SW_SHOWNA);
    SetForegroundWindow(overlay_);
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

void CRectangularSelector::RunMessageLoop() { ::RunMessageLoop(); }

void CRectangularSelector::End(bool failedToStart) {
    if (ended_) return;
    ended_ = true;
    StopPoller();
    annotations_.Reset();
    toolbar_.Dismiss();
    if (overlay_ && IsWindow(overlay_)) {
        SetWindowLongPtrW(overlay_, GWLP_USERDATA, 0);
        DestroyWindow(overlay_);
    }
    overlay_ = nullptr;
    // Ended without a result (Escape, the overlay closed): the requester shows itself again.
    if (!resultPosted_ && requester_) PostMessageW(requester_, WM_RESTORE_AFTER_CAPTURE, failedToStart ? 1 : 0, 0);
}

void CRectangularSelector::StopPoller() {
    {
        std::lock_guard<std::mutex> lock(pollerMutex_);
        pollerRunning_ = false;
    }
    // Woken at once: the capture's end does not wait out the poller's sleep.
    pollerWake_.notify_all();
    if (poller_.joinable()) poller_.join();
}

void CRectangularSelector::Poll() {
    // The cursor in the overlay's physical pixels.
    SetThreadDpiMode(DpiMode::kPerMonitor);
    while (pollerRunning_) {
        POINT pt;
        if (GetCursorPos(&pt) && ScreenToClient(overlay_, &pt)) {
            const bool recent = GetTickCount() - lastActivity_.load() < 1000;
            if (recent && (pt.x != lastPostedX_ || pt.y != lastPostedY_)) {
                lastPostedX_ = pt.x;
                lastPostedY_ = pt.y;
                PostMessageW(overlay_, WM_CAPTURE_CURSOR_MOVED, 0, MAKELPARAM(pt.x, pt.y));
            }
        }
        std::unique_lock<std::mutex> lock(pollerMutex_);
        pollerWake_.wait_for(lock, std::chrono::milliseconds(33), [this] { return !pollerRunning_; });
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
        case WM_PAINT: renderer_.Paint(); return 0;
        case WM_CAPTURE_RENDER: renderer_.RenderFrame(); return 0;
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
                OnColorCopy(OnKey(wParam));
            }
            return 0;
        case WM_LBUTTONDOWN: OnPress(client); return 0;
        case WM_LBUTTONUP: OnRelease(client); return 0;
        case WM_LBUTTONDBLCLK:
            if (annotations_.OnDoubleClick(client)) RepaintShapes();
            return 0;
        case WM_CAPTURE_CURSOR_MOVED: OnDragStep(client); return 0;
        case WM_CAPTURE_END_TEXT_EDIT:
            // As a press outside the text would: the text is committed and the editor goes. The
            // keyboard goes to the toolbar (to the overlay without one), where a second Escape
            // ends the capture, and the toolbar's next click is a click on its button.
            annotations_.CommitEditing();
            SetFocus(IsWindowVisible(toolbar_.GetHWND()) ? toolbar_.GetHWND() : overlay_);
            RepaintShapes();
            return 0;
        default: return DefWindowProcW(overlay_, msg, wParam, lParam);
    }
}

bool CRectangularSelector::MovingAllowed() const {
    return annotations_.ActiveTool() == TOOL_BAR_BTN_TYPE::kNone && annotations_.IsEmpty();
}

void CRectangularSelector::OnPress(POINT client) {
    const capture::Point p{screen_.left + client.x, screen_.top + client.y};
    const auto result = model_.Press(p, MovingAllowed());
    ShowToolbar(result.showToolbar);
    if (result.forwardToShapes) annotations_.OnMouseDown(client);
    PostShapeSelected();
    renderer_.InvalidateChrome();
}

void CRectangularSelector::OnDragStep(POINT client) {
    const capture::Point p{screen_.left + client.x, screen_.top + client.y};
    const auto result = model_.Drag(p, MovingAllowed());
    base::ShowCursorKind(result.cursor);
    if (result.forwardToShapes) annotations_.OnMouseMove(client);
    FollowSelectionMonitor();
    renderer_.InvalidateChrome();
}

void CRectangularSelector::OnRelease(POINT client) {
    const capture::Point p{screen_.left + client.x, screen_.top + client.y};
    ShowToolbar(true);
    if (model_.Release(p)) PlaceToolbar();
    annotations_.OnMouseUp(client);
    PostShapeSelected();
    FollowSelectionMonitor();
    renderer_.InvalidateChrome();
}

void CRectangularSelector::FollowSelectionMonitor() {
    if (!model_.HasSelection()) return;
    const capture::Rect selection = model_.Selection();
    const capture::OverlayChrome chrome = capture::OverlayChromeAt(capture::Point{selection.left, selection.top}, monitors_);
    if (chrome.dpi == chrome_.dpi) return;
    chrome_ = chrome;
    model_.SetHandleSize(chrome_.handleSize);
    renderer_.SetChrome(chrome_);
}

void CRectangularSelector::ShowToolbar(bool show) {
    if (!IsWindow(toolbar_.GetHWND())) return;
    toolbar_.ShowWindow(show, true);
    // A click on the overlay may raise it over the toolbar (Wine does): put the toolbar back on top.
    if (show) SetWindowPos(toolbar_.GetHWND(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CRectangularSelector::PostShapeSelected() {
    if (IsWindow(toolbar_.GetHWND())) toolbar_.PostMessage(WM_TOOLBAR_SHAPE_SELECTED, annotations_.HasCurrentShape() ? 1 : 0);
}

void CRectangularSelector::PlaceToolbar() {
    // The toolbar is drawn for 96 DPI like the program's other windows: it is made, measured
    // and moved in the unaware context, and the system scales it.
    ThreadDpiScope unaware(DpiMode::kUnaware);
    if (!IsWindow(toolbar_.GetHWND())) {
        // Without a window the selection stays usable; the next finished drag tries again.
        if (!toolbar_.Create(overlay_, kToolbarTitle, kToolbarStyle, 0)) return;
        annotations_.SetToolbarWindow(toolbar_.GetHWND());
        // The toolbar's window procedure runs DPI-unaware; what it asks of the overlay runs in the
        // overlay's own context, where the editor's and overlay's sizes read physical.
        toolbar_.SetButtonCallback([this](TOOL_BAR_BTN_TYPE value) {
            ThreadDpiScope perMonitor(DpiMode::kPerMonitor);
            OnToolbarButton(value);
        });
        toolbar_.SetLooks(annotations_.Registry(), [this] {
            ThreadDpiScope perMonitor(DpiMode::kPerMonitor);
            annotations_.ReloadConfig();
            RepaintShapes();
        });
        toolbar_.CenterWindow();
    }
    const HWND toolbar = toolbar_.GetHWND();
    ShowToolbar(true);
    RECT window;
    GetWindowRect(toolbar, &window);
    const base::Size size{window.right - window.left, window.bottom - window.top};
    // In a process that is aware as a whole, the toolbar is an aware window like the overlay, at its
    // 96-DPI size: placed as it is, in physical pixels.
    const capture::Point at = ThreadsChooseDpiAwareness()
                                  ? capture::PlaceUnawareToolbar(model_.Selection(), size, screen_, monitors_)
                                  : capture::PlaceToolbar(model_.Selection(), size.cx, size.cy, screen_);
    SetWindowPos(toolbar, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void CRectangularSelector::OnToolbarButton(TOOL_BAR_BTN_TYPE value) {
    if (finishing_) return;  // a second press queued behind a finishing one
    if (IsAnnotationTool(value)) {
        // A selected shape is let go: its handles go with it.
        const bool deselects = annotations_.HasCurrentShape();
        annotations_.SelectTool(value);
        if (deselects) RepaintShapes();
    } else if (value == TOOL_BAR_BTN_TYPE::kDelete) {
        CEventTracker::Instance().Report(kEventToolbarBtnUndo);
        annotations_.DeleteCurrentShape();
        RepaintShapes();
    } else if (const capture::FinishingAction* action = capture::FinishingActionFor(value)) {
        Finish(*action);
    }
}

void CRectangularSelector::RepaintShapes() {
    renderer_.InvalidateChrome();
    UpdateWindow(overlay_);
}

void CRectangularSelector::Finish(const capture::FinishingAction& action) {
    finishing_ = true;
    // The frozen screen goes at once: the picture is composed from memory, not from the window.
    if (action.result != CaptureResult::kCancel) {
        if (IsWindow(toolbar_.GetHWND())) ::ShowWindow(toolbar_.GetHWND(), SW_HIDE);
        ::ShowWindow(overlay_, SW_HIDE);
    }
    if (FinishCapture(action, annotations_, [this] { return ComposeOutput(); }, target_, sink_, requester_)) {
        resultPosted_ = true;
    }
    PostQuitMessage(0);
}

CRectangularSelector::ColorCopy CRectangularSelector::OnKey(WPARAM key) {
    ColorCopy copy;
    // The colour keys and Tab work before a selection exists and while it is resized.
    if (model_.HasSelection() && !model_.Resizing()) return copy;
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (control && (key == 'H' || key == 'D')) {
        const bool hex = key == 'H';
        copy.event = hex ? kEventKeyboardCopyColorHex : kEventKeyboardCopyColorDec;
        copy.text = hex ? magnifier_.HexText() : magnifier_.DecimalText();
        copy.copied = PutTextOnClipboard(copy.text);
    } else if (key == VK_TAB) {
        // The magnifier moves between the cursor and a corner: where it was and where it goes
        // are painted again, and its new place is remembered for the next move.
        magnifier_.ToggleFollowMode();
        renderer_.InvalidateChrome();
        UpdateWindow(overlay_);
    }
    return copy;
}

void CRectangularSelector::OnColorCopy(const ColorCopy& copy) {
    if (copy.event == 0) return;
    CEventTracker::Instance().Report(copy.event);
    if (copy.copied) CAppContext::Instance().SetLastColorText(copy.text);
    // The toast shows the last colour copied successfully, even when this copy failed.
    if (onColorCopied_) onColorCopied_(capture::ColorCopyToastText(CAppContext::Instance().GetLastColorText()));
}

HBITMAP CRectangularSelector::ComposeOutput() {
    if (!model_.HasSelection()) return nullptr;
    return ComposePicture(renderer_.Frozen(), renderer_.SelectionClient(), annotations_);
}

void RunRegionCapture(HWND requester, ICaptureAnnotations& annotations, PictureTargetSource target,
                      const std::function<void(CRectangularSelector&)>& onStarted, PictureSink sink,
                      const HiddenWindowsLook& hidden) {
    ThreadDpiScope perMonitor(DpiMode::kPerMonitor);
    CRectangularSelector selector(requester, annotations, std::move(target), std::move(sink), hidden);
    const bool started = selector.Start();
    if (started) {
        if (onStarted) onStarted(selector);
        selector.RunMessageLoop();
    }
    selector.End(!started);
}
