#include "windows/float_wnd.h"

#include "base/app_messages.h"
#include "base/unique_handle.h"
#include "windows/float_commands.h"

namespace {

constexpr wchar_t kNormalImage[] = L"floating_wnd/1.png";
constexpr wchar_t kHoverImage[] = L"floating_wnd/2.png";

}  // namespace

LRESULT CFloatWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (IsFloatCommand(id) && target_) ::PostMessageW(target_, WM_FLOAT_COMMAND, id, 0);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (!hover_) {
                TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, m_hWnd, 1};
                TrackMouseEvent(&track);
                SetHover(true);
            }
            break;
        case WM_MOUSELEAVE: SetHover(false); break;
        case WM_LBUTTONDOWN:
            // The system drags the window while the button is held.
            ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
            return 0;
        case WM_LBUTTONDBLCLK:
            if (target_) ::PostMessageW(target_, WM_FLOAT_COMMAND, kFloatRectCapture, 0);
            break;
        case WM_RBUTTONDOWN: ShowMenu(lParam); return 0;
        default: break;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CFloatWnd::SetHover(bool hover) {
    hover_ = hover;
    if (DuiLib::CControlUI* background = m_pm.FindControl(L"background")) {
        background->SetBkImage(hover ? kHoverImage : kNormalImage);
    }
}

void CFloatWnd::ShowMenu(LPARAM clientPoint) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    const bool mainVisible = target_ && IsWindowVisible(target_);
    AppendMenuW(menu.Get(), MF_STRING, kFloatOpenPicDir, L"\x56FE\x5E93");
    AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.Get(), MF_STRING, kFloatSettings, L"\x8BBE\x7F6E");
    AppendMenuW(menu.Get(), MF_STRING, kFloatFeedback, L"\x53CD\x9988");
    AppendMenuW(menu.Get(), MF_STRING, kFloatAbout, L"\x5173\x4E8E");
    AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.Get(), MF_STRING | (mainVisible ? MF_DISABLED : 0), kFloatShowMainWnd,
                L"\x663E\x793A\x7A97\x53E3");
    AppendMenuW(menu.Get(), MF_STRING, kFloatHideFloatWnd, L"\x9690\x85CF\x60AC\x6D6E\x7A97");
    POINT at{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    ClientToScreen(m_hWnd, &at);
    // The choice comes back to this window as WM_COMMAND and is forwarded from there.
    TrackPopupMenu(menu.Get(), TPM_LEFTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
}
