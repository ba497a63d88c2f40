// The tray and ball menus: an entry that does nothing now is greyed as well as disabled, so it
// looks as it behaves.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/resource.h"
#include "base/dpi_context.h"
#include "windows/context_menus.h"
#include "windows/float_commands.h"
#include "windows/tray_commands.h"
#include "windows/tray_icon.h"

namespace {

// MF_GRAYED and MF_DISABLED both set: drawn grey and taking no click.
bool Greyed(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == (MF_GRAYED | MF_DISABLED); }
bool Live(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0; }

TEST(ContextMenus, EntriesForWhatAlreadyShowsAreGreyed) {
    for (const bool main : {false, true}) {
        for (const bool ball : {false, true}) {
            const UniqueMenu tray = MakeTrayMenu(main, ball);
            ASSERT_TRUE(tray);
            EXPECT_EQ(GetMenuItemCount(tray.Get()), 11);
            EXPECT_EQ(Greyed(tray.Get(), kTrayShowMainWnd), main);
            EXPECT_EQ(Live(tray.Get(), kTrayShowMainWnd), !main);
            EXPECT_EQ(Greyed(tray.Get(), kTrayShowFloatWnd), ball);
            EXPECT_EQ(Live(tray.Get(), kTrayShowFloatWnd), !ball);
            EXPECT_TRUE(Live(tray.Get(), kTrayRectCapture) && Live(tray.Get(), kTrayExit));
        }
        const UniqueMenu menu = MakeBallMenu(main);
        ASSERT_TRUE(menu);
        EXPECT_EQ(GetMenuItemCount(menu.Get()), 8);
        EXPECT_EQ(Greyed(menu.Get(), kFloatShowMainWnd), main);
        EXPECT_EQ(Live(menu.Get(), kFloatShowMainWnd), !main);
        EXPECT_TRUE(Live(menu.Get(), kFloatHideFloatWnd));
    }
}

std::wstring Text(HMENU menu, UINT id) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, id, text, 64, MF_BYCOMMAND);
    return text;
}

TEST(ContextMenus, EachEntrySaysWhatItsCommandDoes) {
    const UniqueMenu ball = MakeBallMenu(false);
    EXPECT_EQ(Text(ball.Get(), kFloatFeedback), L"反馈");
    EXPECT_EQ(Text(ball.Get(), kFloatAbout), L"关于");
    EXPECT_EQ(Text(ball.Get(), kFloatSettings), L"设置");
    EXPECT_EQ(Text(ball.Get(), kFloatOpenPicDir), L"图库");
    EXPECT_EQ(Text(ball.Get(), kFloatHideFloatWnd), L"隐藏悬浮窗");
    const UniqueMenu tray = MakeTrayMenu(false, false);
    EXPECT_EQ(Text(tray.Get(), kTrayFeedback), L"反馈");
    EXPECT_EQ(Text(tray.Get(), kTrayAbout), L"关于");
    EXPECT_EQ(Text(tray.Get(), kTrayShowFloatWnd), L"显示悬浮窗");
    EXPECT_EQ(Text(tray.Get(), kTrayExit), L"退出");
}

TEST(TrayIcon, TheIconHasTheSmallIconSizeOfTheSystemsDpi) {
    const UniqueIcon icon = LoadTrayIcon(IDI_APP_ICON);
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.Get(), &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    ThreadDpiScope perMonitor(DpiMode::kPerMonitor);
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(bitmap.bmHeight, GetSystemMetrics(SM_CYSMICON));
    EXPECT_FALSE(LoadTrayIcon(4242));
}

}  // namespace
