#include "windows/context_menus.h"

#include "windows/float_commands.h"
#include "windows/tray_commands.h"

namespace {

const wchar_t kShowMainWnd[] = L"\x663E\x793A\x7A97\x53E3";  // 显示窗口
const wchar_t kSettings[] = L"\x8BBE\x7F6E";                  // 设置
const wchar_t kFeedback[] = L"\x53CD\x9988";                  // 反馈
const wchar_t kAbout[] = L"\x5173\x4E8E";                     // 关于

// A disabled entry is also greyed, so it looks as it behaves.
UINT Entry(bool enabled) { return MF_STRING | (enabled ? MF_ENABLED : MF_DISABLED | MF_GRAYED); }

// The entries both menus share, with each menu's own ids: a separator, the three dialogs, a
// separator and "显示窗口".
void AppendDialogsAndShowMain(HMENU menu, UINT settings, UINT feedback, UINT about, UINT showMain, bool mainVisible) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, settings, kSettings);
    AppendMenuW(menu, MF_STRING, feedback, kFeedback);
    AppendMenuW(menu, MF_STRING, about, kAbout);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, Entry(!mainVisible), showMain, kShowMainWnd);
}

}  // namespace

UniqueMenu MakeTrayMenu(bool mainVisible, bool floatVisible) {
    UniqueMenu menu(CreatePopupMenu());
    if (HMENU m = menu.Get()) {
        AppendMenuW(m, MF_STRING, kTrayRectCapture, L"\x533A\x57DF\x622A\x5C4F");  // 区域截屏
        AppendMenuW(m, MF_STRING, kTrayFullScreen, L"\x5168\x5C4F\x622A\x5C4F");   // 全屏截屏
        AppendMenuW(m, MF_STRING, kTrayOpenPicDir, L"\x6253\x5F00\x56FE\x5E93");   // 打开图库
        AppendDialogsAndShowMain(m, kTraySettings, kTrayFeedback, kTrayAbout, kTrayShowMainWnd, mainVisible);
        AppendMenuW(m, Entry(!floatVisible), kTrayShowFloatWnd, L"\x663E\x793A\x60AC\x6D6E\x7A97");  // 显示悬浮窗
        AppendMenuW(m, MF_STRING, kTrayExit, L"\x9000\x51FA");  // 退出
    }
    return menu;
}

UniqueMenu MakeBallMenu(bool mainVisible) {
    UniqueMenu menu(CreatePopupMenu());
    if (HMENU m = menu.Get()) {
        AppendMenuW(m, MF_STRING, kFloatOpenPicDir, L"\x56FE\x5E93");  // 图库
        AppendDialogsAndShowMain(m, kFloatSettings, kFloatFeedback, kFloatAbout, kFloatShowMainWnd, mainVisible);
        AppendMenuW(m, MF_STRING, kFloatHideFloatWnd, L"\x9690\x85CF\x60AC\x6D6E\x7A97");  // 隐藏悬浮窗
    }
    return menu;
}
