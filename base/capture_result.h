// How a region capture ended: the finishing toolbar button that ended it, as WM_CAPTURE_RESULT's
// wParam tells the requester. Pure code.
#pragma once

enum class CaptureResult : int {
    kCancel = 0,        // nothing made
    kPin = 8,           // saved, then pinned on the desktop
    kClipboard = 9,     // put on the clipboard
    kSave = 11,         // saved to the picture folder
    kCopyAndSave = 13,  // put on the clipboard and saved
};

// True for the results that made a picture (every one but the cancel).
constexpr bool MadePicture(CaptureResult result) {
    return result == CaptureResult::kPin || result == CaptureResult::kClipboard || result == CaptureResult::kSave ||
           result == CaptureResult::kCopyAndSave;
}
