#include "windows/modal_dialog.h"

namespace {

// Where and how big a dialog is created; the layout resizes it as it is built.
constexpr int kCreateWidth = 800;
constexpr int kCreateHeight = 572;

}  // namespace

HWND CModalDialog::CreateCentred(HWND parent, const wchar_t* title) {
    HWND hwnd = Create(parent, title, WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 0, 0, kCreateWidth, kCreateHeight);
    if (!hwnd) return nullptr;
    CenterWindow();
    // A per-pixel layered window (a layout without native edits) gets no WM_PAINT of its own:
    // it shows only what it is explicitly painted, so it is painted once now it is in place.
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    return hwnd;
}

LRESULT CModalDialog::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        PostQuitMessage(0);
        bHandled = TRUE;
        return 0;
    }
    return WindowImplBase::OnSysCommand(uMsg, wParam, lParam, bHandled);
}

void CModalDialog::OnFinalMessage(HWND hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    delete this;
}

void RunModalDialog(std::unique_ptr<CModalDialog> dialog, HWND parent, const wchar_t* title) {
    if (!dialog->CreateCentred(parent, title)) return;  // no window: the object goes here
    // From here the window owns the object: it deletes itself in OnFinalMessage.
    dialog.release()->ShowModal();
}
