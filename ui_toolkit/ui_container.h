// Containers: CContainerUI stacks its children in its content area; the horizontal and vertical
// layouts line them up (see box_layout.h for the arithmetic).
#pragma once

#include <vector>

#include "ui_toolkit/box_layout.h"
#include "ui_toolkit/ui_control.h"

namespace DuiLib {

class CContainerUI : public CControlUI {
public:
    CContainerUI() = default;
    ~CContainerUI() override;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    bool Add(CControlUI* pControl);
    bool AddAt(CControlUI* pControl, int iIndex);
    bool Remove(CControlUI* pControl);  // deletes it
    int GetCount() const { return static_cast<int>(m_items.size()); }
    CControlUI* GetItemAt(int iIndex) const;
    int GetItemIndex(CControlUI* pControl) const;
    // The first descendant with this name (depth first), or null.
    CControlUI* FindSubControl(LPCTSTR pstrSubControlName);

    RECT GetInset() const { return m_rcInset; }
    void SetInset(RECT rcInset);
    void SetChildPadding(int iPadding);

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    CControlUI* FindControlAt(POINT pt) override;
    void ForEach(void (*visit)(CControlUI*, void*), void* data) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

protected:
    virtual BoxKind Kind() const { return BoxKind::kStack; }

    std::vector<CControlUI*> m_items;
    RECT m_rcInset{};
    int m_iChildPadding = 0;
};

class CHorizontalLayoutUI : public CContainerUI {
public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

protected:
    BoxKind Kind() const override { return BoxKind::kHorizontal; }
};

class CVerticalLayoutUI : public CContainerUI {
public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

protected:
    BoxKind Kind() const override { return BoxKind::kVertical; }
};

}  // namespace DuiLib
