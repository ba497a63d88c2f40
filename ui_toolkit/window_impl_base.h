// WindowImplBase: a borderless window built from a layout file of the skin. Derived windows
// supply the class name and layout file and react through the slots below.
#pragma once

#include "ui_toolkit/paint_manager.h"
#include "ui_toolkit/window_wnd.h"

namespace DuiLib {

class WindowImplBase : public CWindowWnd,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase() = default;
    ~WindowImplBase() override = default;

    // The slots a window overrides.
    LPCTSTR GetWindowClassName() const override = 0;
    void OnFinalMessage(HWND hWnd) override;
    virtual void InitWindow() {}
    virtual void OnClick(TNotifyUI& msg);
    virtual CDuiString GetSkinFile() = 0;
    virtual CDuiString GetSkinFolder() { return CDuiString(); }
    virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    // Every message the toolkit does not consume itself; set bHandled to stop it here.
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    void Notify(TNotifyUI& msg) override;
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    CControlUI* CreateControl(LPCTSTR pstrClass) override;

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    CPaintManagerUI* GetPaintManager() { return &m_pm; }

protected:
    LRESULT OnCreate();
    LRESULT OnNcHitTest(LPARAM lParam);
    void OnSize();

    CPaintManagerUI m_pm;
};

}  // namespace DuiLib
