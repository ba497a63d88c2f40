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

LRESULT CModalDialog::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/, BOOL& bHandled) {
    bHandled = uMsg == WM_KEYDOWN && wParam == VK_ESCAPE;
    if (bHandled) Close(0);
    return 0;
}

void CModalDialog::OnFinalMessage(HWND hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    delete this;
}

namespace {

// The window of the dialog in its modal loop (the program's windows all run on one thread).
HWND& OpenDialogWindow() {
    static HWND window = nullptr;
    return window;
}

}  // namespace

HWND OpenModalDialog() {
    HWND& open = OpenDialogWindow();
    if (open && !IsWindow(open)) open = nullptr;
    return open;
}

void RunModalDialog(std::unique_ptr<CModalDialog> dialog, HWND parent, const wchar_t* title) {
    // A second dialog inside the first one's modal loop would enable the owner when it closed,
    // while the first is still open: the open one comes to the front instead.
    if (HWND open = OpenModalDialog()) {
        SetForegroundWindow(open);
        return;
    }
    const HWND hwnd = dialog->CreateCentred(parent, title);
    if (!hwnd) return;  // no window: the object goes here
    OpenDialogWindow() = hwnd;
    // From here the window owns the object: it deletes itself in OnFinalMessage.
    dialog.release()->ShowModal();
    if (OpenDialogWindow() == hwnd) OpenDialogWindow() = nullptr;
}
