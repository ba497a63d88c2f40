#include "capture/toolbar_actions.h"

#include "telemetry/usage_events.h"

namespace capture {

const FinishingAction* FinishingActionFor(TOOL_BAR_BTN_TYPE value) {
    // Pinning always saves: the pinned window shows the saved file.
    static const FinishingAction kPin{kEventToolbarBtnShowPicTop, true, true, false, CaptureResult::kPin};
    static const FinishingAction kClipboard{kEventToolbarBtnCopyToClipboard, true, false, true, CaptureResult::kClipboard};
    static const FinishingAction kSave{kEventToolbarBtnSaveToFile, true, true, false, CaptureResult::kSave};
    static const FinishingAction kCancel{kEventToolbarBtnClose, false, false, false, CaptureResult::kCancel};
    static const FinishingAction kOk{kEventToolbarBtnOk, true, true, true, CaptureResult::kCopyAndSave};
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
