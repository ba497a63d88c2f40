// What a capture could not make, as its result message's lParam says: 0 when every output the
// action asked for succeeded, else these bits (both: 3). Pure code.
#pragma once

constexpr unsigned kCaptureFileNotWritten = 1;
constexpr unsigned kCaptureClipboardNotSet = 2;
// Not in the message: the main window could not show a saved picture pinned.
constexpr unsigned kCapturePinNotShown = 4;
