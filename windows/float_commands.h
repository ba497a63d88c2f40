// The commands the floating ball sends to the main window as WM_FLOAT_COMMAND's wParam.
#pragma once

enum FloatCommand : int {
    kFloatRectCapture = 1001,      // double click on the ball
    kFloatFullScreenCapture = 1002,
    kFloatOpenPicDir = 1003,       // menu "图库"
    kFloatSettings = 1004,         // menu "设置"
    kFloatFeedback = 1005,         // menu "反馈"
    kFloatAbout = 1006,            // menu "关于"
    kFloatShowMainWnd = 1007,      // menu "显示窗口"
    kFloatHideFloatWnd = 1008,     // menu "隐藏悬浮窗"
};

constexpr bool IsFloatCommand(int id) { return id >= kFloatRectCapture && id <= kFloatHideFloatWnd; }
