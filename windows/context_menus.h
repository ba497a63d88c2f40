// The popup menus of the tray icon and of the floating ball, with their entries and ids. An
// entry that would do nothing now ("显示窗口" while the main window shows, "显示悬浮窗" while the
// ball shows) is greyed out and takes no click.
#pragma once

#include <windows.h>

#include "base/unique_handle.h"

// The tray icon's menu; its choices arrive as WM_COMMAND with the ids of tray_commands.h.
UniqueMenu MakeTrayMenu(bool mainVisible, bool floatVisible);

// The ball's menu; its choices arrive as WM_COMMAND with the ids of float_commands.h.
UniqueMenu MakeBallMenu(bool mainVisible);
