#include "capture/toolbar_actions.h"

#include "telemetry/usage_events.h"

namespace capture {

const FinishingAction* FinishingActionFor(TOOL_BAR_BTN_TYPE value) {
    // Pinning always saves: the pinned window shows the saved file.
    static const FinishingAction kPin{kEventToolbarBtnShowPicTop, true, true, false, 8};
    static const FinishingAction kClipboard{kEventToolbarBtnCopyToClipboard, true, false, true, 9};
    static const FinishingAction kSave{kEventToolbarBtnSaveToFile, true, true, false, 11};
    static const FinishingAction kCancel{kEventToolbarBtnClose, false, false, false, 0};
    static const FinishingAction kOk{kEventToolbarBtnOk, true, true, true, 13};
    switch (value) {
        case TOOL_BAR_BTN_TYPE::kPin: return &kPin;
        case TOOL_BAR_BTN_TYPE::kClipboard: return &kClipboard;
        case TOOL_BAR_BTN_TYPE::kSave: return &kSave;
        case TOOL_BAR_BTN_TYPE::kCancel: return &kCancel;
        case TOOL_BAR_BTN_TYPE::kOk: return &kOk;
        default: return nullptr;
    }
}

}  // namespace capture
