// Text entry: CEditUI (one line) and CRichEditUI (several lines), each backed by a native EDIT
// child window while enabled, so caret, selection, clipboard and input methods are the system's.
// A disabled edit paints its text itself, in its disabled text colour.
#pragma once

#include <vector>

#include "ui_toolkit/ui_button.h"

namespace DuiLib {

class CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    bool IsInteractive() const override { return true; }
    bool NeedsNativeWindow() const override { return true; }

    CDuiString GetText() const override;
    void SetText(LPCTSTR pstrText) override;
    void SetMaxChar(UINT uMax);
    UINT GetMaxChar() const { return m_uMaxChar; }
    void SetPromptText(LPCTSTR pstrText);
    LPCTSTR GetPromptText() const { return m_sPromptText; }
    HWND GetNativeWindow() const { return m_hwndEdit; }

    void SetEnabled(bool bEnable = true) override;
    void SetVisible(bool bVisible = true) override;
    void SetFocus() override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void DoInit() override;
    void PaintText(HDC hDC) override;

    // Colours of the native window (from WM_CTLCOLOREDIT).
    LRESULT OnCtlColor(HDC hdc);

protected:
    virtual bool IsMultiLine() const { return false; }
    void SyncNativeWindow();
    void ExcludeFloatingSiblings();
    static LRESULT CALLBACK EditProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hwndEdit = nullptr;
    WNDPROC m_oldProc = nullptr;
    HBRUSH m_hBkBrush = nullptr;
    UINT m_uMaxChar = 255;
    bool m_bReadOnly = false;
    bool m_bPassword = false;
    CDuiString m_sPromptText;
    DWORD m_dwPromptColor = 0xFFAAAAAA;
    std::vector<RECT> m_excluded;  // holes cut into the native window for floating siblings
};

class CRichEditUI : public CEditUI {
public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

protected:
    bool IsMultiLine() const override { return m_bMultiLine; }

    bool m_bMultiLine = true;
};

}  // namespace DuiLib
