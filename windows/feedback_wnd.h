// CFeedbackWnd: the modal feedback window. Up to 200 characters are sent as the usage event
// "feedback_msg"; the parent then hears WM_FEEDBACK_SENT and thanks the user.
#pragma once

#include <windows.h>

#include "windows/modal_dialog.h"

class CFeedbackWnd : public CModalDialog {
public:
    LPCTSTR GetWindowClassName() const override { return L"FeedbackWnd"; }
    DuiLib::CDuiString GetSkinFile() override { return L"feedback_wnd.xml"; }
    void InitWindow() override;
    void OnClick(DuiLib::TNotifyUI& msg) override;
    void Notify(DuiLib::TNotifyUI& msg) override;

private:
    void UpdateCount();
    void Send();

    DuiLib::CControlUI* closeBtn_ = nullptr;
    DuiLib::CControlUI* cancelBtn_ = nullptr;
    DuiLib::CControlUI* sendBtn_ = nullptr;
    DuiLib::CEditUI* edit_ = nullptr;
    DuiLib::CControlUI* countLabel_ = nullptr;
};

// Creates the window owned by parent, centres it and runs it modally until it is closed.
void OpenFeedbackWnd(HWND parent);
