// CWindowWnd: a Win32 window owned by a C++ object; messages go to HandleMessage and the object
// hears about the window's end in OnFinalMessage.
#pragma once

#include <windows.h>

namespace DuiLib {

// Called when a window procedure ran out of memory on a message other than its creation, so the
// program can tell the user the operation did not happen. None by default.
void SetOutOfMemoryReporter(void (*report)());

class CWindowWnd {
public:
    CWindowWnd() = default;
    virtual ~CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }  // NOLINT

    bool RegisterWindowClass();
    HWND Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
                int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT,
                int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
    HWND Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
                HMENU hMenu = nullptr);

    void ShowWindow(bool bShow = true, bool bTakeFocus = true);
    // Shows the window (unless show is false) and runs a message loop until it is destroyed,
    // with its owner disabled meanwhile. Returns the code given to Close. When WM_QUIT arrives the
    // loop ends at once and the quit request is posted again, so the caller's loop ends too.
    UINT ShowModal(bool show = true);
    // Closes the window (asynchronously); nRet becomes ShowModal's result.
    void Close(UINT nRet = IDOK);
    // Centres the window over its owner, or on the work area of its monitor.
    void CenterWindow();
    void SetIcon(UINT nRes);
    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    virtual LPCTSTR GetWindowClassName() const = 0;
    virtual UINT GetClassStyle() const { return CS_DBLCLKS; }
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual void OnFinalMessage(HWND hWnd);

    static LRESULT CALLBACK __WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    UINT* m_pModalResult = nullptr;  // where a running ShowModal wants the close code
    // Creation ran out of memory: Create returns null and the object stays the caller's, so its
    // window's end does not reach OnFinalMessage.
    bool m_bCreateFailed = false;
};

}  // namespace DuiLib
