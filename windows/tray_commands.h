// The tray menu's command ids (WM_COMMAND to the owner window).
#pragma once

enum TrayCommand : int {
    kTrayExit = 1125,
    kTrayShowMainWnd = 1127,
    kTrayAbout = 1128,
    kTrayFeedback = 1129,
    kTraySettings = 1130,
    kTrayOpenPicDir = 1131,
    kTrayFullScreen = 1132,
    kTrayRectCapture = 1133,
    kTrayShowFloatWnd = 1134,
};

// Carried by no menu entry; the owner takes it and does nothing.
constexpr int kTrayUnused = 1126;
