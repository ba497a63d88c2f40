// CAboutWnd: the modal about window: the program's version from its version resource, the
// build date (the program file's last write) and a link to the program's web site.
#pragma once

#include <windows.h>

// Creates the window owned by parent, centres it and runs it modally until it is closed.
void OpenAboutWnd(HWND parent);
