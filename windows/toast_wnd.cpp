#include "windows/toast_wnd.h"

#include <cwchar>

#include "base/dpi_context.h"
#include "ui_toolkit/UIlib.h"

namespace {

using namespace DuiLib;

constexpr wchar_t kToastClass[] = L"ToastWnd";

// The one timer of a toast: it closes the toast when the display time is over.
constexpr UINT_PTR kDisplayTimer = 1;

// Room between a grown toast's edges and its text.
constexpr base::Size kTextMargin{24, 18};

// One toast: built from "toast.xml", never activated, closed by its timer; it deletes itself
// when its window is gone.
class CToastWnd : public WindowImplBase {
public:
    CToastWnd() = default;
    ~CToastWnd() override { StopTimer(); }

    LPCTSTR GetWindowClassName() const override { return kToastClass; }
    CDuiString GetSkinFile() override { return L"toast.xml"; }

    void SetText(const std::wstring& text) {
        if (CLabelUI* label = Label()) label->SetText(text.c_str());
    }
    // The room the text takes in the label's font; lines break at each '\n'.
    base::Size TextExtent(const std::wstring& text) {
        CLabelUI* label = Label();
        if (!label) return base::Size{};
        const SIZE size = m_pm.MeasureText(text.c_str(), label->GetFont());
        return base::Size{size.cx, size.cy};
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
    CLabelUI* Label() {
        CControlUI* control = m_pm.FindControl(L"toast_label");
        return control ? static_cast<CLabelUI*>(control->GetInterface(L"Label")) : nullptr;
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
    // The text is also the window's title, for screen readers.
    HWND hwnd = toast->Create(parent, text.c_str(), WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                              WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    if (!hwnd) {
        delete toast;  // no window, so no final message will delete it
        return;
    }
    toast->SetText(text);
    toast->SetDisplayTime(milliseconds);
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    // The skin's size fits its own short texts; a longer one grows the toast to fit.
    const base::Rect work = WorkArea();
    const base::Size size = ToastSize(base::Size{rc.right - rc.left, rc.bottom - rc.top}, toast->TextExtent(text),
                                      kTextMargin, work.right - work.left - 2 * kTextMargin.cx);
    const base::Point at = ToastPosition(work, size.cx, size.cy, centred);
    SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
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
