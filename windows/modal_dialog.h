// CModalDialog: what the settings, about and feedback windows share. Each is a heap object that
// owns itself once its window exists and deletes itself when the window is destroyed; the system
// close command (Alt+F4) ends the whole application rather than just the dialog, while Escape
// closes the dialog as its cancel button does.
#pragma once

#include <windows.h>

#include <memory>

#include "ui_toolkit/UIlib.h"

class CModalDialog : public DuiLib::WindowImplBase {
public:
    // Creates the window owned by parent as a popup tool window at 0,0 sized 800 x 572 (the
    // layout then gives the real size) and centres it. Null when the window could not be made;
    // the caller still owns the object then.
    HWND CreateCentred(HWND parent, const wchar_t* title);

    // SC_CLOSE posts WM_QUIT (exit code 0): the modal loop ends and so does the application's.
    LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    // Escape closes the dialog without applying anything.
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    void OnFinalMessage(HWND hWnd) override;
};

// Creates the dialog owned by parent with the title, centres it and runs it modally until it
// is closed. The dialog deletes itself with its window (or here, when no window was made).
// Only one runs at a time: while one is open, another request brings it to the front instead.
void RunModalDialog(std::unique_ptr<CModalDialog> dialog, HWND parent, const wchar_t* title);

// The dialog window in its modal loop now, or null.
HWND OpenModalDialog();
