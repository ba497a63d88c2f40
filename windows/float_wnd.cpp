#include "windows/float_wnd.h"

#include "base/app_messages.h"
#include "base/unique_handle.h"
#include "windows/context_menus.h"
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
    const UniqueMenu menu = MakeBallMenu(target_ && IsWindowVisible(target_));
    if (!menu) return;
    POINT at{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    ClientToScreen(m_hWnd, &at);
    // The choice comes back to this window as WM_COMMAND and is forwarded from there.
    TrackPopupMenu(menu.Get(), TPM_LEFTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
}
