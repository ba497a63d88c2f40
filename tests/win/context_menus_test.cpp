// The tray and ball menus: an entry that does nothing now is greyed as well as disabled, so it
// looks as it behaves.
#include <windows.h>

#include <gtest/gtest.h>

#include "windows/context_menus.h"
#include "windows/float_commands.h"
#include "windows/tray_commands.h"

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

}  // namespace
