// CAboutWnd: the modal about window: the program's version from its version resource, the
// build date (the program file's last write) and a link to the program's web site.
#pragma once

#include <windows.h>

#include <string>

#include "windows/modal_dialog.h"

// The last-write date of the running program's file in local time, "%04d-%02d-%02d"; empty when
// any step fails.
std::wstring ExeBuildDateText();

class CAboutWnd : public CModalDialog {
public:
    LPCTSTR GetWindowClassName() const override { return L"AboutWnd"; }
    DuiLib::CDuiString GetSkinFile() override { return L"about_wnd.xml"; }
    void InitWindow() override;
    void OnClick(DuiLib::TNotifyUI& msg) override;

private:
    DuiLib::CControlUI* closeBtn_ = nullptr;
    DuiLib::CControlUI* versionLabel_ = nullptr;
    DuiLib::CControlUI* homeUrlBtn_ = nullptr;
    DuiLib::CControlUI* lastUpdate_ = nullptr;
};

// Creates the window owned by parent, centres it and runs it modally until it is closed.
void OpenAboutWnd(HWND parent);
