// The program's icon in the notification area, with its popup menu. The icon is removed when
// the object goes away, so no stale icon stays behind after the program ends.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "base/unique_handle.h"

// The program's icon iconId at the notification area's size at the system's DPI (sharp where the
// display is scaled); none when the resource is missing.
UniqueIcon LoadTrayIcon(int iconId);

// The message the shell broadcasts to every top-level window when its taskbar is (re)created.
UINT TaskbarCreatedMessage();

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds icon 1 of owner with the program's icon (resource iconId, else the system's
    // application icon) and the tip; the shell reports mouse input as callbackMessage.
    bool Add(HWND owner, UINT callbackMessage, int iconId, const wchar_t* tip);
    // The shell restarted and every icon is gone: adds this one again, as it was.
    bool AddAgain();
    void Remove();

    // Opens the menu (context_menus.h) at the pointer; the choice arrives at the owner as
    // WM_COMMAND.
    void ShowMenu(bool mainVisible, bool floatVisible);

private:
    NOTIFYICONDATAW data_{};
    UniqueIcon icon_;
    bool added_ = false;
};
