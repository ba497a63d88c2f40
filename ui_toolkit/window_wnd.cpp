#include "ui_toolkit/window_wnd.h"

#include <new>

#include "ui_toolkit/paint_manager.h"

namespace DuiLib {

namespace {

void (*g_reportOutOfMemory)() = nullptr;

HINSTANCE Instance() {
    HINSTANCE instance = CPaintManagerUI::GetInstance();
    return instance ? instance : GetModuleHandleW(nullptr);
}

}  // namespace

void SetOutOfMemoryReporter(void (*report)()) { g_reportOutOfMemory = report; }

bool CWindowWnd::RegisterWindowClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = GetClassStyle();
    wc.lpfnWndProc = &CWindowWnd::__WndProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = GetWindowClassName();
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x,
                        int y, int cx, int cy, HMENU hMenu) {
    if (!RegisterWindowClass()) return nullptr;
    m_bCreateFailed = false;
    m_hWnd = CreateWindowExW(dwExStyle, GetWindowClassName(), pstrName, dwStyle, x, y, cx, cy,
                             hwndParent, hMenu, Instance(), this);
    return m_hWnd;
}

HWND CWindowWnd::Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
                        const RECT& rc, HMENU hMenu) {
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, hMenu);
}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus) {
    if (!::IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal(bool show) {
    HWND hwnd = m_hWnd;
    if (!::IsWindow(hwnd)) return 0;
    UINT result = 0;
    m_pModalResult = &result;
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (show) ::ShowWindow(hwnd, SW_SHOWNORMAL);
    if (owner) EnableWindow(owner, FALSE);
    MSG msg{};
    bool quit = false;
    // Only locals from here on: the window object may delete itself when its window ends.
    while (::IsWindow(hwnd)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            break;
        }
        if (got < 0) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (owner) {
        EnableWindow(owner, TRUE);
        if (!quit && ::IsWindowVisible(owner)) SetForegroundWindow(owner);
    }
    if (::IsWindow(hwnd)) {
        // Still alive (the quit request came first): it no longer writes into this frame.
        auto* self = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self) self->m_pModalResult = nullptr;
    }
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
    return result;
}

void CWindowWnd::Close(UINT nRet) {
    if (::IsWindow(m_hWnd)) ::PostMessageW(m_hWnd, WM_CLOSE, nRet, 0);
}

void CWindowWnd::CenterWindow() {
    if (!::IsWindow(m_hWnd)) return;
    RECT window;
    GetWindowRect(m_hWnd, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT area = monitor.rcWork;
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = (area.left + area.right - width) / 2;
    int y = (area.top + area.bottom - height) / 2;
    // Keep the whole window on the work area.
    if (x + width > monitor.rcWork.right) x = monitor.rcWork.right - width;
    if (y + height > monitor.rcWork.bottom) y = monitor.rcWork.bottom - height;
    if (x < monitor.rcWork.left) x = monitor.rcWork.left;
    if (y < monitor.rcWork.top) y = monitor.rcWork.top;
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes) {
    HICON icon = LoadIconW(Instance(), MAKEINTRESOURCEW(nRes));
    if (icon) ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

LRESULT CWindowWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND /*hWnd*/) {}

LRESULT CALLBACK CWindowWnd::__WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* self = nullptr;
    if (uMsg == WM_NCCREATE) {
        auto* create = reinterpret_cast<LPCREATESTRUCTW>(lParam);
        self = static_cast<CWindowWnd*>(create->lpCreateParams);
        self->m_hWnd = hWnd;
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_CLOSE && self->m_pModalResult) {
        *self->m_pModalResult = static_cast<UINT>(wParam);
        // Re-enable the owner before this window goes, so activation returns to it.
        HWND owner = GetWindow(hWnd, GW_OWNER);
        if (owner) EnableWindow(owner, TRUE);
    }
    if (uMsg == WM_NCDESTROY) {
        const LRESULT result = DefWindowProcW(hWnd, uMsg, wParam, lParam);
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->m_pModalResult = nullptr;
        if (!self->m_bCreateFailed) self->OnFinalMessage(hWnd);  // may delete self
        return result;
    }
    // An exception cannot unwind through the system's code that called this procedure (the
    // process would end with no dump): running out of memory fails the message instead.
    try {
        return self->HandleMessage(uMsg, wParam, lParam);
    } catch (const std::bad_alloc&) {
        if (uMsg == WM_NCCREATE || uMsg == WM_CREATE) {
            self->m_bCreateFailed = true;
            return uMsg == WM_NCCREATE ? FALSE : -1;
        }
        if (g_reportOutOfMemory) g_reportOutOfMemory();
        return 0;
    }
}

}  // namespace DuiLib
