// Text and clickable controls: CLabelUI (text with alignment, colours, font and padding),
// CButtonUI (state images, "click"), COptionUI (selectable, optionally in an exclusive group).
#pragma once

#include "ui_toolkit/press_tracker.h"
#include "ui_toolkit/ui_control.h"

namespace DuiLib {

class CLabelUI : public CControlUI {
public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    void SetTextStyle(UINT uStyle);
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetTextColor(DWORD dwTextColor);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetDisabledTextColor(DWORD dwTextColor);
    void SetFont(int index);
    int GetFont() const { return m_iFont; }
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);

    SIZE EstimateSize(SIZE szAvailable) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void PaintText(HDC hDC) override;

protected:
    // The colour of the text in the control's present state.
    virtual DWORD CurrentTextColor() const;
    void PaintTextIn(HDC hDC, DWORD color);

    UINT m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
    DWORD m_dwTextColor = 0xFF000000;
    DWORD m_dwDisabledTextColor = 0xFFA7A6AA;
    int m_iFont = -1;
    RECT m_rcTextPadding{};
    bool m_bAutoCalcWidth = false;
};

class CButtonUI : public CLabelUI {
public:
    CButtonUI();
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    bool IsInteractive() const override { return m_bMouseEnabled; }
    // What a completed click does: sends "click".
    virtual bool Activate();
    UINT GetButtonState() const { return m_press.State(); }

    void SetNormalImage(LPCTSTR pStrImage);
    void SetHotImage(LPCTSTR pStrImage);
    void SetPushedImage(LPCTSTR pStrImage);
    void SetDisabledImage(LPCTSTR pStrImage);
    void SetEnabled(bool bEnable = true) override;

    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(HDC hDC) override;

protected:
    DWORD CurrentTextColor() const override;
    // Draws part index of a state image split into m_iStateCount equal columns.
    void PaintStateImage(HDC hDC, const CDuiString& image, int index);
    int StateIndex() const;

    PressTracker m_press;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
    CDuiString m_sNormalImage;
    CDuiString m_sHotImage;
    CDuiString m_sPushedImage;
    CDuiString m_sDisabledImage;
    CDuiString m_sStateImage;
    int m_iStateCount = 0;
};

class COptionUI : public CButtonUI {
public:
    ~COptionUI() override;
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    LPCTSTR GetGroup() const { return m_sGroupName; }
    void SetGroup(LPCTSTR pStrGroupName);
    bool IsSelected() const { return m_bSelected; }
    // Selects or clears the option; selecting clears the others of its group. With bTriggerEvent
    // a "selectchanged" notification follows a real change.
    virtual void Selected(bool bSelected, bool bTriggerEvent = true);
    bool Activate() override;

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

protected:
    DWORD CurrentTextColor() const override;

    bool m_bSelected = false;
    CDuiString m_sGroupName;
    CDuiString m_sSelectedImage;
    CDuiString m_sSelectedHotImage;
    CDuiString m_sSelectedStateImage;
    DWORD m_dwSelectedTextColor = 0;
};

}  // namespace DuiLib
