#include "windows/tray_icon.h"

#include <cwchar>

#include "windows/context_menus.h"

bool TrayIcon::Add(HWND owner, UINT callbackMessage, int iconId, const wchar_t* tip) {
    Remove();
    data_ = NOTIFYICONDATAW{};
    data_.cbSize = sizeof data_;
    data_.hWnd = owner;
    data_.uID = 1;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId));
    if (!data_.hIcon) data_.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    std::wcsncpy(data_.szTip, tip, sizeof data_.szTip / sizeof data_.szTip[0] - 1);
    added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;

    return added_;
}

bool TrayIcon::AddAgain() {
    if (!data_.hWnd) return false;
    added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
    return added_;
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void TrayIcon::Remove() {
    if (added_) Shell_NotifyIconW(NIM_DELETE, &data_);
    added_ = false;
}

void TrayIcon::ShowMenu(bool mainVisible, bool floatVisible) {
    if (!data_.hWnd) return;
    const UniqueMenu menu = MakeTrayMenu(mainVisible, floatVisible);
    if (!menu) return;
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(data_.hWnd);
    TrackPopupMenu(menu.Get(), TPM_RIGHTBUTTON, at.x, at.y, 0, data_.hWnd, nullptr);
    // Lets the menu close when the user clicks elsewhere.
    PostMessageW(data_.hWnd, WM_NULL, 0, 0);
}
