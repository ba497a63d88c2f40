#include "ui_toolkit/press_tracker.h"

namespace DuiLib {

PressTracker::Result PressTracker::Handle(const TEventUI& event, const RECT& rect, bool enabled) {
    const UINT before = state_;
    const bool inside = PtInRect(&rect, event.ptMouse) != FALSE;
    bool clicked = false;
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (enabled) state_ |= UISTATE_PUSHED | UISTATE_CAPTURED;
            break;
        case UIEVENT_MOUSEMOVE:
            if (state_ & UISTATE_CAPTURED) {
                state_ = (state_ & ~UINT{UISTATE_PUSHED}) | (inside ? UINT{UISTATE_PUSHED} : 0u);
            }
            break;
        case UIEVENT_BUTTONUP:
            if (state_ & UISTATE_CAPTURED) {
                state_ &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
                clicked = inside;
            }
            break;
        case UIEVENT_MOUSEENTER:
            if (enabled) state_ |= UISTATE_HOT;
            break;
        case UIEVENT_MOUSELEAVE:
            state_ &= ~UISTATE_HOT;
            break;
        case UIEVENT_KILLFOCUS:
            // Losing the mouse capture ends a press without a click.
            state_ &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            return Result{false, state_ != before, false};
        default:
            return Result{false, false, false};
    }
    return Result{true, state_ != before || clicked, clicked};
}

}  // namespace DuiLib
