// The settings path that turns off the screen snipping's PrintScreen, by the Windows build.
#include <gtest/gtest.h>

#include "windows/print_screen_setting.h"

TEST(PrintScreenSetting, Windows11NamesAccessibilityAndWindows10EaseOfAccess) {
    EXPECT_EQ(PrintScreenSettingPath(22000), L"设置 › 辅助功能 › 键盘");
    EXPECT_EQ(PrintScreenSettingPath(26100), L"设置 › 辅助功能 › 键盘");
    EXPECT_EQ(PrintScreenSettingPath(21999), L"设置 › 轻松使用 › 键盘");
    EXPECT_EQ(PrintScreenSettingPath(19045), L"设置 › 轻松使用 › 键盘");
}
