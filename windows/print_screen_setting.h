// Where Windows' own settings hold "Use the Print screen key to open screen capture", which lets the
// screen snipping take PrintScreen: under Accessibility on Windows 11, Ease of Access on Windows 10.
// Pure code.
#pragma once

#include <string>

// The first build of Windows 11.
constexpr unsigned long kFirstWindows11Build = 22000;

// "设置 › 辅助功能 › 键盘" from Windows 11's first build on, "设置 › 轻松使用 › 键盘" before.
std::wstring PrintScreenSettingPath(unsigned long windowsBuild);
