// CFeedbackWnd: the modal feedback window. Up to 200 characters are sent as the usage event
// "feedback_msg"; the parent then hears WM_FEEDBACK_SENT and thanks the user.
#pragma once

#include <windows.h>

// Creates the window owned by parent, centres it and runs it modally until it is closed.
void OpenFeedbackWnd(HWND parent);
