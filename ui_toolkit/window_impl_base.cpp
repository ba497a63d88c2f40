#include "ui_toolkit/window_impl_base.h"

#include "ui_toolkit/dialog_builder.h"

namespace DuiLib {

namespace {

void FindNativeWindowControl(CControlUI* control, void* found) {
    if (control->NeedsNativeWindow()) *static_cast<bool*>(found) = true;
}

}  // namespace

void WindowImplBase::OnFinalMessage(HWND /*hWnd*/) {
    m_pm.RemoveNotifier(this);
    m_pm.OnPaintWindowDestroyed();
}

void WindowImplBase::OnClick(TNotifyUI& /*msg*/) {}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& /*bHandled*/) {
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT WindowImplBase::HandleCustomMessage(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                                            BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

void WindowImplBase::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK) OnClick(msg);
}

LRESULT WindowImplBase::MessageHandler(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                                       bool& bHandled) {
    bHandled = false;
    return 0;
}

CControlUI* WindowImplBase::CreateControl(LPCTSTR /*pstrClass*/) { return nullptr; }

LRESULT WindowImplBase::OnCreate() {
    // Borderless: the layout's caption area does the dragging, and the size is the layout's.
    LONG style = GetWindowLongW(m_hWnd, GWL_STYLE);
    style &= ~(WS_CAPTION | WS_THICKFRAME);
    style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    SetWindowLongW(m_hWnd, GWL_STYLE, style);

    m_pm.Init(m_hWnd);
    m_pm.AddMessageFilter(this);
    CDialogBuilder builder;
    CControlUI* root = builder.Create(GetSkinFile(), this, &m_pm);
    if (root) {
        m_pm.AttachDialog(root);
        m_pm.AddNotifier(this);
        // Native child windows (edits) are not drawn in a per-pixel layered window.
        bool native = false;
        root->ForEach(&FindNativeWindowControl, &native);
        if (native) m_pm.SetLayered(false);
    } else {
        OutputDebugStringA(("layout not built: " + builder.GetLastError()).c_str());
    }
    if (m_pm.IsLayered()) {
        SetWindowLongW(m_hWnd, GWL_EXSTYLE, GetWindowLongW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    }
    const SIZE size = m_pm.GetInitSize();
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_FRAMECHANGED;
    if (size.cx <= 0 && size.cy <= 0) flags |= SWP_NOSIZE;
    SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy, flags);
    InitWindow();
    if (root) m_pm.SendNotify(root, DUI_MSGTYPE_WINDOWINIT);
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(LPARAM lParam) {
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ScreenToClient(m_hWnd, &pt);
    RECT client;
    GetClientRect(m_hWnd, &client);
    const RECT caption = m_pm.GetCaptionRect();
    if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right &&
        pt.y >= client.top + caption.top && pt.y < client.top + caption.bottom) {
        CControlUI* control = m_pm.FindControl(pt);
        if (!control || !control->IsInteractive()) return HTCAPTION;
    }
    return HTCLIENT;
}

void WindowImplBase::OnSize() {
    const SIZE round = m_pm.GetRoundCorner();
    if (m_pm.IsLayered() || round.cx <= 0 || round.cy <= 0) return;
    RECT window;
    GetWindowRect(m_hWnd, &window);
    HRGN region = CreateRoundRectRgn(0, 0, window.right - window.left + 1,
                                     window.bottom - window.top + 1, round.cx, round.cy);
    SetWindowRgn(m_hWnd, region, TRUE);  // the system owns the region from here
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT lRes = 0;
    BOOL bHandled = TRUE;
    switch (uMsg) {
        case WM_CREATE: lRes = OnCreate(); break;
        case WM_NCCALCSIZE: lRes = 0; break;  // no frame: the client area is the whole window
        case WM_NCPAINT: lRes = 0; break;
        case WM_NCACTIVATE: lRes = IsIconic(m_hWnd) ? DefWindowProcW(m_hWnd, uMsg, wParam, lParam) : TRUE; break;
        case WM_NCHITTEST: lRes = OnNcHitTest(lParam); break;
        case WM_SIZE:
            OnSize();
            bHandled = FALSE;
            break;
        case WM_SYSCOMMAND: lRes = OnSysCommand(uMsg, wParam, lParam, bHandled); break;
        default: bHandled = FALSE;
    }
    if (bHandled) return lRes;
    lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled) return lRes;
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

}  // namespace DuiLib
