// The hot and pushed state of a clickable control as it follows the mouse: pressed inside,
// pushed while the pointer stays inside, a click when released inside, hot while hovered.
#pragma once

#include "ui_toolkit/ui_control.h"

namespace DuiLib {

class PressTracker {
public:
    struct Result {
        bool handled;  // the event was a pointer event this tracker follows
        bool changed;  // the state changed: repaint
        bool clicked;  // a press was released inside the control
    };

    Result Handle(const TEventUI& event, const RECT& rect, bool enabled);
    UINT State() const { return state_; }
    void Clear() { state_ = 0; }

private:
    UINT state_ = 0;  // UISTATE_HOT, UISTATE_PUSHED, UISTATE_CAPTURED
};

}  // namespace DuiLib
