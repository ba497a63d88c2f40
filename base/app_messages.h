// The program's own window messages: every id with its meaning, sender, receiver and parameters.
// All are posted. An id means one thing for the window that receives it; the toolbar window's
// ids are read by the toolbar alone, so one of them shares its value with a main-window id.
#pragma once

#include <windows.h>

#include "base/capture_failures.h"
#include "base/capture_result.h"

// Main window: a full-screen capture ended (wParam 0; lParam: the failed outputs, below).
constexpr UINT WM_FULLSCREEN_CAPTURE_DONE = WM_USER + 1;
// Main window: the feedback window sent the user's text (wParam 0, lParam 0).
constexpr UINT WM_FEEDBACK_SENT = WM_USER + 2;
// Main window: a region capture ended without a result; show what the capture hid (wParam 1:
// the capture could not start, and the user is told so; else 0). Accepted from any sender.
constexpr UINT WM_RESTORE_AFTER_CAPTURE = WM_USER + 51;
// Main window: a second start of the program asks it to show itself in front (wParam 0,
// lParam 0). Accepted from any sender.
constexpr UINT WM_SHOW_MAIN_WINDOW = WM_USER + 52;
// Main window: a window procedure ran out of memory and its operation did not happen (wParam 0,
// lParam 0).
constexpr UINT WM_OUT_OF_MEMORY = WM_USER + 53;
// Main window: the shell's notification for tray icon 1 (lParam: the mouse message).
constexpr UINT WM_TRAY_CALLBACK = WM_USER + 100;
// Capture requester: a region capture ended with a toolbar action (wParam: its CaptureResult,
// base/capture_result.h; lParam: the failed outputs, below).
constexpr UINT WM_CAPTURE_RESULT = WM_USER + 150;
// Its lParam, and WM_FULLSCREEN_CAPTURE_DONE's: the failed outputs (base/capture_failures.h).
// Capture requester: a region capture ended and handed its picture to the background writer
// (wParam: its CaptureResult; lParam 0). A pin's picture waits in the application context; the
// file's result follows as WM_PICTURE_WRITTEN.
constexpr UINT WM_CAPTURE_ENDED = WM_USER + 151;
// Main window: the background writer finished a picture (wParam 0, lParam 0); its outcome is
// taken from the writer.
constexpr UINT WM_PICTURE_WRITTEN = WM_USER + 152;
// Main window: the region capture's thread has ended and can be joined (wParam 0, lParam 0).
constexpr UINT WM_CAPTURE_THREAD_ENDED = WM_USER + 153;
// Overlay: Escape was pressed in the text being typed; the text is committed and the editing
// ends, as a press outside it does (wParam 0, lParam 0).
constexpr UINT WM_CAPTURE_END_TEXT_EDIT = WM_USER + 202;
// Overlay: the cursor poller saw the pointer at a new client point (lParam: x low word, y high
// word).
constexpr UINT WM_CAPTURE_CURSOR_MOVED = WM_USER + 201;
// Main window: a command of the floating window's menu or double click (wParam 1001 to 1008).
constexpr UINT WM_FLOAT_COMMAND = WM_USER + 350;

// Toolbar window: whether a shape is selected (wParam 1 or 0); enables the delete button.
constexpr UINT WM_TOOLBAR_SHAPE_SELECTED = WM_USER + 1;
// Toolbar window: show this tool as selected (wParam: the tool).
constexpr UINT WM_TOOLBAR_SELECT_TOOL = WM_USER + 200;
// Toolbar window, to itself: deselect this button (wParam: the button).
constexpr UINT WM_TOOLBAR_DESELECT = WM_USER + 1122;
// The toolbar puts itself back above the overlay (after showing a tooltip).
constexpr UINT WM_TOOLBAR_RAISE = WM_USER + 1123;

// Main window, a registered message: our setup, updating the program, asks it to end (wParam:
// the sender's GetTickCount() when it asked; lParam 0). A request the sender has stopped waiting
// for (over a second old, queued behind a capture) is answered 0 and does nothing. Answered 0
// while the user is busy with it (a dialog, a pin or a picture still being written; a capture
// keeps the window from answering at all); else it ends now as the tray menu's exit does,
// answering 1 when its window was shown and 2 when it was hidden in the tray. Accepted from any
// sender of the same desktop.
constexpr wchar_t kCloseForUpdateMessage[] = L"Screenshot.CloseForUpdate";

// Overlay, from tests and benchmarks only: render the whole frame into the back buffer at once.
constexpr UINT WM_CAPTURE_RENDER = WM_APP + 1;
// Overlay, from benchmarks only: paint what is invalid now, as the next WM_PAINT would.
constexpr UINT WM_CAPTURE_FLUSH = WM_APP + 2;
