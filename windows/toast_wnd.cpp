#include "windows/toast_wnd.h"

#include <cwchar>

#include "base/dpi_context.h"
#include "ui_toolkit/UIlib.h"

namespace {

using namespace DuiLib;

constexpr wchar_t kToastClass[] = L"ToastWnd";

// The one timer of a toast: it closes the toast when the display time is over.
constexpr UINT_PTR kDisplayTimer = 1;

// One toast: built from "toast.xml", never activated, closed by its timer; it deletes itself
// when its window is gone.
class CToastWnd : public WindowImplBase {
public:
    CToastWnd() = default;
    ~CToastWnd() override { StopTimer(); }

    LPCTSTR GetWindowClassName() const override { return kToastClass; }
    CDuiString GetSkinFile() override { return L"toast.xml"; }

    void SetText(const std::wstring& text) {
        if (auto* label = static_cast<CLabelUI*>(Interface(L"toast_label", L"Label"))) label->SetText(text.c_str());
    }
    void SetDisplayTime(UINT milliseconds) { displayTime_ = milliseconds; }
    void StartTimer() {
        timerId_ = kDisplayTimer;
        SetTimer(m_hWnd, timerId_, displayTime_, nullptr);
    }

    void OnClick(TNotifyUI& /*msg*/) override { Close(1); }

    LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override {
        // Alt+F4 does not close a toast: only its timer does.
        if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
        return WindowImplBase::OnSysCommand(uMsg, wParam, lParam, bHandled);
    }

    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/, BOOL& bHandled) override {
        bHandled = FALSE;
        if (uMsg == WM_TIMER && timerId_ != 0 && wParam == timerId_) {
            StopTimer();
            Close(1);
            bHandled = TRUE;
        } else if (uMsg == WM_MOUSEACTIVATE) {
            // A click on the toast leaves the user's window active.
            bHandled = TRUE;
            return MA_NOACTIVATE;
        }
        return 0;
    }

    void OnFinalMessage(HWND hWnd) override {
        StopTimer();
        WindowImplBase::OnFinalMessage(hWnd);
        delete this;
    }

private:
    void StopTimer() {
        if (timerId_ == 0) return;
        if (IsWindow(m_hWnd)) KillTimer(m_hWnd, timerId_);
        timerId_ = 0;
    }
    void* Interface(const wchar_t* name, const wchar_t* kind) {
        CControlUI* control = m_pm.FindControl(name);
        return control ? control->GetInterface(kind) : nullptr;
    }

    UINT displayTime_ = 1500;
    UINT_PTR timerId_ = 0;
};

base::Rect WorkArea() {
    RECT work{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        return base::Rect{work.left, work.top, work.right, work.bottom};
    }
    return base::Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

void ShowToast(const std::wstring& text, UINT milliseconds, HWND parent, bool centred) {
    // A toast is drawn for 96 DPI and scaled by the system like the program's other windows,
    // whichever thread shows it (the colour toast comes from the capture's per-monitor thread).
    ThreadDpiScope unaware(DpiMode::kUnaware);
    auto* toast = new CToastWnd;
    HWND hwnd = toast->Create(parent, L"msgwnd", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                              WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    if (!hwnd) {
        delete toast;  // no window, so no final message will delete it
        return;
    }
    toast->SetText(text);
    toast->SetDisplayTime(milliseconds);
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    const base::Point at = ToastPosition(WorkArea(), width, height, centred);
    SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
    toast->StartTimer();
    // Shown without activation: the toast never takes the keyboard focus from the user's window.
    toast->ShowWindow(true, false);
}

namespace {

BOOL CALLBACK CloseIfToast(HWND window, LPARAM) {
    wchar_t name[16] = {0};
    if (GetClassNameW(window, name, 16) && std::wcscmp(name, kToastClass) == 0) DestroyWindow(window);
    return TRUE;
}

}  // namespace

void CloseToasts() { EnumThreadWindows(GetCurrentThreadId(), CloseIfToast, 0); }
