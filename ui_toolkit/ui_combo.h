// CComboUI: a closed face showing the chosen entry, and a drop-down list of entries
// (CListLabelElementUI: text, or an image only). Choosing an entry sends "itemselect" with the
// new index in wParam and the previous one in lParam.
#pragma once

#include "ui_toolkit/ui_button.h"
#include "ui_toolkit/ui_container.h"

namespace DuiLib {

class CListLabelElementUI : public CLabelUI {
public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    bool IsSelected() const { return m_bSelected; }
    void SetSelected(bool bSelected) { m_bSelected = bSelected; }
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

private:
    bool m_bSelected = false;
};

class ComboDropWindow;

class CComboUI : public CContainerUI {
public:
    CComboUI();
    ~CComboUI() override;
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    bool IsInteractive() const override { return true; }
    int GetCurSel() const { return m_iCurSel; }
    // Chooses entry iIndex; sends "itemselect" when it changed and bTriggerEvent is set.
    bool SelectItem(int iIndex, bool bTakeFocus = false, bool bTriggerEvent = true);
    CListLabelElementUI* GetEntry(int iIndex) const;
    CDuiString GetText() const override;

    SIZE GetDropBoxSize() const { return m_szDropBox; }
    RECT GetItemTextPadding() const { return m_rcItemTextPadding; }
    int GetItemFont() const { return m_iFont; }
    DWORD GetItemTextColor() const { return m_dwTextColor; }
    bool IsDropped() const { return m_pDropWindow != nullptr; }
    // Opens the list under the face; closes it when open.
    void ToggleDropDown();
    void OnDropWindowClosed();

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    CControlUI* FindControlAt(POINT pt) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

private:
    int m_iCurSel = -1;
    SIZE m_szDropBox{0, 150};
    RECT m_rcTextPadding{};
    RECT m_rcItemTextPadding{};
    int m_iFont = -1;
    DWORD m_dwTextColor = 0xFF000000;
    DWORD m_dwArrowColor = 0xFF8C8C8C;
    PressTracker m_press;
    ComboDropWindow* m_pDropWindow = nullptr;
};

}  // namespace DuiLib
