#include "windows/print_screen_setting.h"

std::wstring PrintScreenSettingPath(unsigned long windowsBuild) {
    return windowsBuild >= kFirstWindows11Build ? L"设置 › 辅助功能 › 键盘" : L"设置 › 轻松使用 › 键盘";
}
