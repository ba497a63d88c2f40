// CSetWnd: the modal settings dialog. It edits whether the main window hides during a capture,
// the picture format and the picture folder; OK stores them in the settings file, cancel and
// the close button keep the old values (a folder picked meanwhile included).
#pragma once

#include <windows.h>

// Creates the dialog owned by parent, centres it and runs it modally until it is closed.
void OpenSetWnd(HWND parent);
