// What the main window tells the user when a capture ends: the toast text for the action that
// ended it and the outputs that failed. Pure code.
#pragma once

#include <string>

#include "base/capture_failures.h"


// The toast after a region capture ended with action (8 pin, 9 copy, 11 save, 13 copy and save)
// and the failed outputs, or after a full-screen capture (which copies and saves, like 13).
// Empty when no toast is due: a cancel, another value, or a pin whose file was written (the
// pinned picture shows instead).
std::wstring CaptureResultToast(int action, unsigned failed);

// The same for the full-screen capture.
std::wstring FullScreenResultToast(unsigned failed);
