#include "windows/tray_icon.h"

#include <cwchar>

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

    menu_.Reset(CreatePopupMenu());
    if (HMENU menu = menu_.Get()) {
        AppendMenuW(menu, MF_STRING, kTrayRectCapture, L"\x533A\x57DF\x622A\x5C4F");
        AppendMenuW(menu, MF_STRING, kTrayFullScreen, L"\x5168\x5C4F\x622A\x5C4F");
        AppendMenuW(menu, MF_STRING, kTrayOpenPicDir, L"\x6253\x5F00\x56FE\x5E93");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, kTraySettings, L"\x8BBE\x7F6E");
        AppendMenuW(menu, MF_STRING, kTrayFeedback, L"\x53CD\x9988");
        AppendMenuW(menu, MF_STRING, kTrayAbout, L"\x5173\x4E8E");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, kTrayShowMainWnd, L"\x663E\x793A\x7A97\x53E3");
        AppendMenuW(menu, MF_STRING, kTrayShowFloatWnd, L"\x663E\x793A\x60AC\x6D6E\x7A97");
        AppendMenuW(menu, MF_STRING, kTrayExit, L"\x9000\x51FA");
    }
    return added_;
}

void TrayIcon::Remove() {
    if (added_) Shell_NotifyIconW(NIM_DELETE, &data_);
    added_ = false;
}

void TrayIcon::ShowMenu(bool mainVisible, bool floatVisible) {
    HMENU menu = menu_.Get();
    if (!menu || !data_.hWnd) return;
    SetForegroundWindow(data_.hWnd);
    EnableMenuItem(menu, kTrayShowMainWnd, mainVisible ? MF_DISABLED : MF_ENABLED);
    EnableMenuItem(menu, kTrayShowFloatWnd, floatVisible ? MF_DISABLED : MF_ENABLED);
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(data_.hWnd);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, data_.hWnd, nullptr);
    // Lets the menu close when the user clicks elsewhere.
    PostMessageW(data_.hWnd, WM_NULL, 0, 0);
}
