#include "windows/main_wnd.h"

#include <memory>

#include "base/app_messages.h"
#include "base/dpi_context.h"
#include "base/message_loop.h"
#include "base/window_transitions.h"
#include "capture/app_context.h"
#include "capture/capture_shapes_win.h"
#include "capture/capture_output.h"
#include "capture/hidden_windows_win.h"
#include "capture/rectangular_selector.h"
#include "settings/config.h"
#include "telemetry/event_tracker.h"
#include "windows/about_wnd.h"
#include "windows/feedback_wnd.h"
#include "windows/main_commands.h"
#include "windows/modal_dialog.h"
#include "windows/result_toast.h"
#include "windows/set_wnd.h"
#include "windows/show_pic_wnd.h"
#include "windows/toast_wnd.h"

namespace {

constexpr int kProgramIconId = 107;
constexpr wchar_t kTrayTip[] = L"\x622A\x56FE\x5DE5\x5177";  // 截图工具
constexpr UINT kResultToastMs = 1500;
constexpr UINT kFeedbackToastMs = 1000;
constexpr UINT kHotkeyTakenToastMs = 3000;
// How long the exit waits for pictures before it says that it waits.
constexpr DWORD kSavingNoticeAfterMs = 1000;
// The notice stays while the wait goes on; it is closed when the pictures are written.
constexpr UINT kSavingToastMs = 3600000;
constexpr wchar_t kSavingText[] = L"\x6B63\x5728\x4FDD\x5B58\x622A\x56FE\x2026";  // 正在保存截图…
// 设置文件无法读取，暂用默认设置: the damaged file is kept as it is until the settings' OK.
constexpr wchar_t kSettingsDamagedText[] =
    L"\x8BBE\x7F6E\x6587\x4EF6\x65E0\x6CD5\x8BFB\x53D6\xFF0C\x6682\x7528\x9ED8\x8BA4\x8BBE\x7F6E";
// 新截图将保存到 <folder>: once, when the settings file named the old default folder.
constexpr wchar_t kNewPicturesGoText[] = L"\x65B0\x622A\x56FE\x5C06\x4FDD\x5B58\x5230 ";
// The name a pinned picture shown from memory goes by in its window.
constexpr wchar_t kPinnedPictureName[] = L"pinned_picture";

// Where captures save: the folder and format of the settings, read when a picture is saved.
PictureTarget ConfiguredPictureTarget() {
    const CConfig& config = CConfig::Instance();
    return PictureTarget{config.GetPicSavePath(), config.GetPicSaveFormat()};
}

// A per-pixel layered window shows what it was last given: one that changed while hidden is
// painted again as it is shown.
void Repaint(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

}  // namespace

CMainWnd::~CMainWnd() {
    if (float_.GetHWND() && IsWindow(float_.GetHWND())) DestroyWindow(float_.GetHWND());
    // Normally done already, with the windows answering; a picture is never dropped.
    if (!writer_.WaitIdle(0)) FinishBeforeExit();
}

void CMainWnd::FinishBeforeExit() {
    exiting_ = true;
    capture_.CancelAndWait();
    if (writer_.WaitIdle(kSavingNoticeAfterMs)) return;
    ShowToast(kSavingText, kSavingToastMs, m_hWnd, true);
    // No deadline: a picture still being written would be lost, and its temporary file left.
    PumpMessagesUntil([this] { return writer_.WaitIdle(0); });
    CloseToasts();
}

void CMainWnd::InitWindow() {
    SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    DisableWindowTransitions(m_hWnd);
    tray_.Add(m_hWnd, WM_TRAY_CALLBACK, kProgramIconId, kTrayTip);
    CreateFloatWnd();
    CAppContext::Instance().SetMainWindow(m_hWnd);
    writer_.SetReportWindow(m_hWnd);
    // Told from any window's procedure; the toast is shown once that message is done.
    DuiLib::SetOutOfMemoryReporter([] {
        if (HWND main = CAppContext::Instance().GetMainWindow()) ::PostMessageW(main, WM_OUT_OF_MEMORY, 0, 0);
    });
    // What the user must know at start, in one toast: settings that could not be read, a stored
    // hotkey the rules refuse, where pictures go now that the old default folder is left, a
    // hotkey another program holds.
    const CConfig& config = CConfig::Instance();
    std::wstring notice;
    const auto add = [&notice](const std::wstring& line) { notice += (notice.empty() ? L"" : L"\n") + line; };
    if (config.FileDamaged()) add(kSettingsDamagedText);
    if (const std::optional<std::string> refused = config.RefusedHotkeyText()) add(StoredHotkeyRefusedText(*refused));
    if (config.OldDefaultDropped()) add(kNewPicturesGoText + config.GetPicSavePath());
    if (!hotkey_.Hold(m_hWnd, config.GetCaptureHotkey())) add(HotkeyTakenNotice());
    if (!notice.empty()) ShowNotice(notice);
}

void CMainWnd::HoldCaptureHotkey() {
    if (!hotkey_.Hold(m_hWnd, CConfig::Instance().GetCaptureHotkey())) ShowNotice(HotkeyTakenNotice());
}

std::wstring CMainWnd::HotkeyTakenNotice() const {
    const Hotkey hotkey = hotkey_.Wanted();
    return HotkeyTakenText(hotkey, FindHotkeyHolder(hotkey));
}

void CMainWnd::ShowNotice(const std::wstring& text) {
    ShowToast(text, ToastReadingMs(text.size(), kHotkeyTakenToastMs), m_hWnd, false);
}

void CMainWnd::CreateFloatWnd() {
    if (!float_.Create(nullptr, L"\x6D6E\x52A8\x7A97\x53E3", WS_POPUP | WS_CLIPCHILDREN,
                       WS_EX_TOPMOST | WS_EX_TOOLWINDOW)) {
        return;
    }
    DisableWindowTransitions(float_.GetHWND());
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT ball;
    GetWindowRect(float_.GetHWND(), &ball);
    // The right edge of the work area, 38.2 % of the way down.
    const int x = work.right - (ball.right - ball.left);
    const int y = work.top - static_cast<int>(-0.382 * (work.bottom - work.top));
    SetWindowPos(float_.GetHWND(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    ShowFloatWnd();
    float_.SetCommandTarget(m_hWnd);
}

void CMainWnd::ShowFloatWnd() {
    if (CaptureOpen()) {
        hiddenForCapture_.ball = true;
        return;
    }
    float_.ShowWindow(true, true);
    Repaint(float_.GetHWND());
}

void CMainWnd::OnFinalMessage(HWND hWnd) {
    tray_.Remove();
    WindowImplBase::OnFinalMessage(hWnd);
}

void CMainWnd::OnClick(DuiLib::TNotifyUI& msg) {
    if (!msg.pSender) return;
    if (const MainCommand* command = ButtonCommand(msg.pSender->GetName().Str())) Run(*command);
}

void CMainWnd::Run(const MainCommand& command) {
    if (exiting_) return;
    // While a capture is open nothing else starts; one already ending runs what was asked as
    // soon as its thread is gone.
    if (capture_.Running() && WaitsForDialogs(command.action)) {
        if (captureEnding_) afterCapture_ = &command;
        return;
    }
    // While a dialog is open, captures and other dialogs wait for it: the tray and the ball
    // bring it to the front instead (the main window itself is disabled).
    if (HWND dialog = OpenModalDialog(); dialog && WaitsForDialogs(command.action)) {
        SetForegroundWindow(dialog);
        return;
    }
    if (command.event != 0) CEventTracker::Instance().Report(command.event);
    switch (command.action) {
        case MainAction::kRectCapture: StartRectCapture(); break;
        case MainAction::kFullScreenCapture: StartFullScreenCapture(); break;
        case MainAction::kOpenPicDir: OpenPicDir(); break;
        case MainAction::kSettings: ShowSetWnd(); break;
        case MainAction::kFeedback: ShowFeedbackWnd(); break;
        case MainAction::kAbout: ShowAboutWnd(); break;
        case MainAction::kShowMainWnd: ShowInFront(); break;
        case MainAction::kToggleMainWnd: ToggleVisible(); break;
        case MainAction::kShowFloatWnd: ShowFloatWnd(); break;
        case MainAction::kHideFloatWnd: float_.ShowWindow(false, true); break;
        case MainAction::kExit: PostQuitMessage(0); break;
        case MainAction::kNothing: break;
    }
}

void CMainWnd::ToggleVisible() {
    if (IsVisible()) {
        ::ShowWindow(m_hWnd, SW_HIDE);
    } else {
        ShowInFront();
    }
}

void CMainWnd::ShowInFront() {
    if (CaptureOpen()) {
        hiddenForCapture_.main = true;
        return;
    }
    ::ShowWindow(m_hWnd, SW_SHOW);
    Repaint(m_hWnd);
    SetForegroundWindow(m_hWnd);
}

void CMainWnd::OpenPicDir() { OpenPictureFolder(CConfig::Instance().GetPicSavePath()); }

void CMainWnd::ForgetPointer() {
    // As if the pointer left both windows: no button stays hot and no tooltip comes back when
    // they are shown again.
    for (HWND window : {m_hWnd, float_.GetHWND()}) {
        if (window) ::SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    }
}

void CMainWnd::HideTipsAndToasts() {
    ForgetPointer();
    CloseToasts();
    if (HWND tip = m_pm.GetTooltipWindow()) ::ShowWindow(tip, SW_HIDE);
    if (float_.GetHWND()) {
        if (HWND tip = float_.TooltipWindow()) ::ShowWindow(tip, SW_HIDE);
    }
}

void CMainWnd::StartCapture(std::function<void(const HiddenWindowsLook&)> body) {
    // Windows lets the process whose hotkey was pressed, or whose menu or ball was clicked, take
    // the foreground; this keeps that right until the user's next input elsewhere, so that the
    // overlay, shown later on its own thread, gets the keyboard.
    AllowSetForegroundWindow(GetCurrentProcessId());
    HideTipsAndToasts();
    // The grab waits until the windows about to be hidden are off the screen.
    const std::shared_ptr<const HiddenWindowsLook> hidden = LookOfWindowsToHide();
    HideForCapture();
    CAppContext::Instance().SetCaptureRequester(m_hWnd);
    captureEnding_ = false;
    // The capture runs on a thread of its own while this one goes back to its messages; the
    // outcome arrives as posted messages.
    if (!capture_.Start(m_hWnd, WM_CAPTURE_THREAD_ENDED, [hidden, body = std::move(body)] { body(*hidden); })) {
        RestoreAfterCapture();
        ShowResultToast(CaptureFailedToast());
    }
}

void CMainWnd::StartRectCapture() {
    const HWND requester = m_hWnd;
    StartCapture([this, requester](const HiddenWindowsLook& hidden) {
        // The shapes' look chosen in one capture stays for the next; the shapes do not.
        CaptureShapes annotations(CShapeLogic::Instance());
        const auto started = [this](CRectangularSelector& selector) {
            // A copied colour is confirmed by a toast over the overlay, on the capture's thread.
            const HWND overlay = selector.Overlay();
            selector.SetColorCopiedHandler(
                [overlay](const std::wstring& text) { ShowToast(text, kResultToastMs, overlay, false); });
            capture_.OverlayShown(overlay);
            if (captureStarted_) captureStarted_(selector);
        };
        // A saved picture is written in the background: the capture ends once it is composed.
        RunRegionCapture(requester, annotations, ConfiguredPictureTarget, started,
                         [this](PictureWrite write) { writer_.Submit(std::move(write)); }, hidden);
    });
}

void CMainWnd::StartFullScreenCapture() {
    // The picture is saved and copied on the capture's thread; the outcome comes back as
    // WM_FULLSCREEN_CAPTURE_DONE.
    const PictureTarget target = ConfiguredPictureTarget();
    const HWND requester = m_hWnd;
    StartCapture([requester, target](const HiddenWindowsLook& hidden) {
        ThreadDpiScope perMonitor(DpiMode::kPerMonitor);
        const FullScreenCaptureResult result = CaptureFullScreen(target.folder, target.format, requester, hidden);
        if (result.saved) CAppContext::Instance().SetLastPicturePath(result.path);
    });
}

void CMainWnd::OnCaptureThreadEnded() {
    capture_.JoinIfEnded();
    captureEnding_ = false;
    const MainCommand* next = afterCapture_;
    afterCapture_ = nullptr;
    if (next) Run(*next);
}

LRESULT CMainWnd::OnQueryEndSession() {
    // Windows shows the reason while the pictures are finished in WM_ENDSESSION.
    if (capture_.Running() || !writer_.WaitIdle(0)) ShutdownBlockReasonCreate(m_hWnd, kSavingText);
    return TRUE;
}

void CMainWnd::OnEndSession(bool ending) {
    if (ending) {
        // Windows may end the process once this returns: the exit's work is done here.
        FinishBeforeExit();
        PostQuitMessage(0);
    }
    ShutdownBlockReasonDestroy(m_hWnd);
}

std::shared_ptr<const HiddenWindowsLook> CMainWnd::LookOfWindowsToHide() const {
    // In the capture's physical pixels, the context its thread waits in.
    ThreadDpiScope perMonitor(DpiMode::kPerMonitor);
    return std::make_shared<const HiddenWindowsLook>(WindowsToHideForCapture());
}

std::vector<HWND> CMainWnd::WindowsToHideForCapture() const {
    std::vector<HWND> windows;
    if (!CConfig::Instance().GetHideMainWndWhenCapture()) return windows;
    if (IsVisible()) windows.push_back(m_hWnd);
    if (float_.IsVisible()) windows.push_back(float_.GetHWND());
    return windows;
}

void CMainWnd::HideForCapture() {
    // What is hidden here is remembered in memory only: a capture never writes the settings.
    hiddenForCapture_ = HiddenWindows{};
    for (HWND window : WindowsToHideForCapture()) {
        if (window == m_hWnd) {
            hiddenForCapture_.main = true;
            ::ShowWindow(m_hWnd, SW_HIDE);
        } else {
            hiddenForCapture_.ball = true;
            float_.ShowWindow(false, false);
        }
    }
}

void CMainWnd::RestoreAfterCapture() {
    // Every end of a capture comes here: its thread is ending.
    captureEnding_ = true;
    // The button that started the capture took the press back as hot after the capture began.
    ForgetPointer();
    // Shows what the capture hid, and only that: a window shown meanwhile stays shown.
    if (hiddenForCapture_.main) ShowInFront();
    if (hiddenForCapture_.ball) ShowFloatWnd();
    hiddenForCapture_ = HiddenWindows{};
}

void CMainWnd::ShowSetWnd() {
    // The hotkey is let go while the dialog's field reads a new one; after OK the stored one is
    // registered at once, after anything else the old one is taken back.
    auto stored = std::make_shared<bool>(false);
    SetWndHooks hooks;
    hooks.hotkeyListening = [this](bool listening) { listening ? hotkey_.Pause() : void(hotkey_.Resume()); };
    hooks.stored = [stored] { *stored = true; };
    if (hotkey_.Unavailable()) hooks.takenHotkey = TakenHotkey{hotkey_.Wanted(), FindHotkeyHolder(hotkey_.Wanted())};
    OpenSetWnd(m_hWnd, std::move(hooks));
    if (*stored) {
        HoldCaptureHotkey();
    } else if (!hotkey_.Resume()) {
        // Another program took the key while the field was reading one.
        ShowNotice(HotkeyTakenNotice());
    }
}
LRESULT CMainWnd::CloseForUpdate(DWORD askedAt) {
    // The setup waits 2 seconds for an answer; one it no longer waits for must not end the
    // program behind its back.
    if (GetTickCount() - askedAt > 1000) return 0;
    // A dialog's text, a pin on the screen or a picture on its way to disk would be lost.
    if (exiting_ || capture_.Running() || OpenModalDialog() || AnyPinnedPictureOpen() || !writer_.WaitIdle(0)) {
        return 0;
    }
    // Hidden only for a capture that just ended counts as shown.
    const bool shown = IsVisible() || hiddenForCapture_.main;
    PostQuitMessage(0);
    return shown ? 1 : 2;
}

void CMainWnd::ShowFeedbackWnd() {
    // The thanks for a sent feedback wait until the dialog is gone: its end brings this window
    // to the front, over a toast shown while it was open.
    OpenFeedbackWnd(m_hWnd);
    if (thanksDue_) ShowThanks();
}

void CMainWnd::ShowThanks() {
    thanksDue_ = false;
    ShowToast(L"\x611F\x8C22\x60A8\x7684\x53CD\x9988", kFeedbackToastMs, m_hWnd, true);  // 感谢您的反馈
}
void CMainWnd::ShowAboutWnd() { OpenAboutWnd(m_hWnd); }

void CMainWnd::ShowResultToast(const std::wstring& text, unsigned failed) {
    if (text.empty()) return;
    ShowToast(text, failed ? ToastReadingMs(text.size(), kResultToastMs) : kResultToastMs, m_hWnd, false);
}

void CMainWnd::ShowPin() {
    // The picture the capture left in memory; the file may still be on its way.
    std::shared_ptr<const DuiLib::UiImage> picture = CAppContext::Instance().TakePinnedPicture();
    if (!picture || !ShowPinnedPicture(kPinnedPictureName, std::move(picture))) {
        ShowResultToast(CaptureResultToast(CaptureResult::kPin, kCapturePinNotShown));
    }
}

void CMainWnd::OnCaptureResult(CaptureResult result, unsigned failed) {
    RestoreAfterCapture();
    // A pin whose picture could not be saved is shown all the same; the toast tells the failure.
    if (result == CaptureResult::kPin) ShowPin();
    ShowResultToast(CaptureResultToast(result, failed), failed);
}

void CMainWnd::OnCaptureEnded(CaptureResult result) {
    RestoreAfterCapture();
    if (result == CaptureResult::kPin) ShowPin();
}

void CMainWnd::OnPicturesWritten() {
    while (std::optional<PictureWritten> written = writer_.TakeWritten()) {
        if (!written->path.empty()) CAppContext::Instance().SetLastPicturePath(written->path);
        ShowResultToast(CaptureResultToast(written->result, written->failed), written->failed);
    }
}

void CMainWnd::OnFullScreenDone(unsigned failed) {
    RestoreAfterCapture();
    ShowResultToast(FullScreenResultToast(failed));
}

LRESULT CMainWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    bHandled = TRUE;
    // Explorer restarted: without this the icon would be gone until the program's next start.
    if (uMsg == TaskbarCreatedMessage()) {
        tray_.AddAgain();
        return 0;
    }
    static const UINT closeForUpdate = RegisterWindowMessageW(kCloseForUpdateMessage);
    if (uMsg == closeForUpdate) return CloseForUpdate(static_cast<DWORD>(wParam));
    switch (uMsg) {
        case WM_DESTROY: PostQuitMessage(0); return 0;
        case WM_COMMAND: {
            const MainCommand* command = TrayMenuCommand(LOWORD(wParam));
            if (command) Run(*command);
            bHandled = command != nullptr;
            return 0;
        }
        case WM_FULLSCREEN_CAPTURE_DONE: OnFullScreenDone(static_cast<unsigned>(lParam)); return 0;
        case WM_FEEDBACK_SENT:
            if (OpenModalDialog()) {
                thanksDue_ = true;
            } else {
                ShowThanks();
            }
            return 0;
        case WM_OUT_OF_MEMORY: ShowNotice(L"内存不足，操作未能完成"); return 0;
        case WM_SHOW_MAIN_WINDOW:
            // A second start: an open dialog is what the user works in (this window is disabled).
            if (HWND dialog = OpenModalDialog()) {
                SetForegroundWindow(dialog);
            } else {
                ShowInFront();
            }
            return 0;
        // A hotkey another program held may be free now: Windows' own option was turned off
        // (which may say so by WM_SETTINGCHANGE), or the user comes back to this window.
        case WM_SETTINGCHANGE:
            hotkey_.Retry();
            bHandled = FALSE;
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) hotkey_.Retry();
            bHandled = FALSE;
            return 0;
        case WM_POWERBROADCAST:
            // Woken from sleep: whoever waits for it (the update check) is told.
            if (wParam == PBT_APMRESUMEAUTOMATIC && resumed_) resumed_();
            bHandled = FALSE;
            return 0;
        case WM_HOTKEY:
            if (wParam == CaptureHotkey::kId) {
                if (const MainCommand* command = ButtonCommand(L"rectangular_btn")) Run(*command);
            }
            return 0;
        case WM_RESTORE_AFTER_CAPTURE:
            RestoreAfterCapture();
            if (wParam == 1) ShowResultToast(CaptureFailedToast());
            return 0;
        case WM_TRAY_CALLBACK:
            if (lParam == WM_LBUTTONDBLCLK) {
                ToggleVisible();
            } else if (lParam == WM_RBUTTONUP) {
                tray_.ShowMenu(IsVisible(), float_.IsVisible());
            } else {
                bHandled = FALSE;
            }
            return 0;
        case WM_CAPTURE_RESULT: {
            const auto result = static_cast<CaptureResult>(wParam);
            OnCaptureResult(result, static_cast<unsigned>(lParam));
            bHandled = MadePicture(result);
            return 0;
        }
        case WM_CAPTURE_ENDED: OnCaptureEnded(static_cast<CaptureResult>(wParam)); return 0;
        case WM_CAPTURE_THREAD_ENDED: OnCaptureThreadEnded(); return 0;
        case WM_QUERYENDSESSION: return OnQueryEndSession();
        case WM_ENDSESSION: OnEndSession(wParam != FALSE); return 0;
        case WM_PICTURE_WRITTEN: OnPicturesWritten(); return 0;
        case WM_FLOAT_COMMAND:
            if (const MainCommand* command = FloatCommand(static_cast<int>(wParam))) Run(*command);
            return 0;
        default: bHandled = FALSE; return 0;
    }
}
