// What the main window tells the user when a capture ends: the toast text for the action that
// ended it and the outputs that failed. Pure code.
#pragma once

#include <string>

#include "base/capture_failures.h"
#include "base/capture_result.h"

// The toast after a region capture ended with result and the failed outputs (for a pin also
// kCapturePinNotShown). Empty when no toast is due: a cancel, another value, or a pin whose
// picture was saved and shown.
std::wstring CaptureResultToast(CaptureResult result, unsigned failed);

// The toast when a region capture could not start: "截图失败".
std::wstring CaptureFailedToast();

// The same for the full-screen capture, which copies and saves.
std::wstring FullScreenResultToast(unsigned failed);
