#include "windows/tray_icon.h"

#include <cwchar>

#include "base/dpi_context.h"
#include "base/system_function.h"
#include "windows/context_menus.h"

namespace {

constexpr int kLimSmall = 0;  // LIM_SMALL

}  // namespace

UniqueIcon LoadTrayIcon(int iconId) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // The shell draws the notification area at the system's DPI, which an aware thread reads.
    ThreadDpiScope perMonitor(DpiMode::kPerMonitor);
    using LoadIconMetricFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
    // Only common controls version 6 has it; it scales a larger image down where the icon lacks
    // the size.
    static const auto loadMetric = SystemFunction<LoadIconMetricFn>(L"comctl32.dll", "LoadIconMetric");
    HICON icon = nullptr;
    if (loadMetric && SUCCEEDED(loadMetric(instance, MAKEINTRESOURCEW(iconId), kLimSmall, &icon)) && icon) {
        return UniqueIcon(icon);
    }
    // The icon's own image nearest the small-icon size.
    return UniqueIcon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                    LR_DEFAULTCOLOR)));
}

bool TrayIcon::Add(HWND owner, UINT callbackMessage, int iconId, const wchar_t* tip) {
    Remove();
    data_ = NOTIFYICONDATAW{};
    data_.cbSize = sizeof data_;
    data_.hWnd = owner;
    data_.uID = 1;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    icon_ = LoadTrayIcon(iconId);
    data_.hIcon = icon_ ? icon_.Get() : LoadIconW(nullptr, IDI_APPLICATION);
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
