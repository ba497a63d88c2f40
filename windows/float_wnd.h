// CFloatWnd: the 36 x 36 always-on-top ball that stays on the desktop while the main window is
// hidden. It is dragged with the left button, starts a region capture on a double click and
// opens a small menu on a right click; every command goes to the main window as a posted
// WM_FLOAT_COMMAND. It changes its image while the pointer is over it.
#pragma once

#include "ui_toolkit/UIlib.h"

class CFloatWnd : public DuiLib::WindowImplBase {
public:
    // The window that receives the commands (the main window).
    void SetCommandTarget(HWND target) { target_ = target; }
    bool IsVisible() const { return m_hWnd && IsWindowVisible(m_hWnd); }
    HWND TooltipWindow() { return m_pm.GetTooltipWindow(); }

protected:
    LPCTSTR GetWindowClassName() const override { return L"CFloatWnd"; }
    DuiLib::CDuiString GetSkinFile() override { return L"floating_wnd.xml"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    void SetHover(bool hover);
    void ShowMenu(LPARAM clientPoint);

    bool hover_ = false;
    HWND target_ = nullptr;
};
