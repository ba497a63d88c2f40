// What the main window does for each of its commands, wherever the user gave it: its buttons,
// the tray menu and the floating ball's menu and double click. One table names, for each
// source and id, the action and the usage event it reports (0: none), so that each action is
// written once. Pure code; the main window carries the actions out.
#pragma once

#include <string>

enum class MainAction {
    kRectCapture,
    kFullScreenCapture,
    kOpenPicDir,
    kSettings,
    kFeedback,
    kAbout,
    kShowMainWnd,
    kToggleMainWnd,
    kShowFloatWnd,
    kHideFloatWnd,
    kExit,
    kNothing,  // taken, and nothing done
};

struct MainCommand {
    MainAction action;
    int event;  // the usage event reported before the action; 0 for none
};

// True for the actions that must not start while a dialog is open: captures (the dialog would
// be frozen into the picture) and the dialogs themselves.
bool WaitsForDialogs(MainAction action);

// The command of the main window's button of this name (any case); null for other controls.
const MainCommand* ButtonCommand(const std::wstring& name);
// The command of a tray menu id (tray_commands.h); null for other ids.
const MainCommand* TrayMenuCommand(int id);
// The command of a floating ball command id (float_commands.h); null for other ids.
const MainCommand* FloatCommand(int id);
