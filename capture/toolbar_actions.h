// What each finishing button of the capture toolbar does: the usage event it reports (and
// whether the event carries the shape summary), the outputs it makes and the result it tells
// the requester. Pure code.
#pragma once

#include "annotation/toolbar_button.h"
#include "base/capture_result.h"

namespace capture {

struct FinishingAction {
    int event;          // usage event, reported before anything else
    bool withSummary;   // the event's data is the shape summary (else empty)
    bool save;          // the picture is saved to a file
    bool copy;          // the picture is put on the clipboard
    CaptureResult result;  // what the requester is told
};

// The action of pin, clipboard, save, cancel and ok; null for the tools, delete and anything
// else (those do not end the capture).
const FinishingAction* FinishingActionFor(TOOL_BAR_BTN_TYPE value);

}  // namespace capture
