#include "ui_toolkit/ui_combo.h"

#include "base/geometry_win.h"

#include <objidl.h>
#include <gdiplus.h>

#include "ui_toolkit/combo_drop_window.h"
#include "ui_toolkit/paint_manager.h"

namespace DuiLib {

LPCTSTR CListLabelElementUI::GetClass() const { return L"ListLabelElementUI"; }

LPVOID CListLabelElementUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"ListLabelElement") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

void CListLabelElementUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (ToLowerAscii(pstrName) == L"selected") {
        m_bSelected = ParseBoolAttribute(pstrValue);
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

CComboUI::CComboUI() = default;

CComboUI::~CComboUI() {
    if (m_pDropWindow) m_pDropWindow->Detach();
}

LPCTSTR CComboUI::GetClass() const { return L"ComboUI"; }

LPVOID CComboUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"Combo") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

CListLabelElementUI* CComboUI::GetEntry(int iIndex) const {
    CControlUI* item = GetItemAt(iIndex);
    return item ? static_cast<CListLabelElementUI*>(item->GetInterface(L"ListLabelElement")) : nullptr;
}

bool CComboUI::SelectItem(int iIndex, bool bTakeFocus, bool bTriggerEvent) {
    if (iIndex < 0 || iIndex >= GetCount() || !GetEntry(iIndex)) return false;
    const int previous = m_iCurSel;
    for (int i = 0; i < GetCount(); ++i) {
        if (CListLabelElementUI* entry = GetEntry(i)) entry->SetSelected(i == iIndex);
    }
    m_iCurSel = iIndex;
    if (bTakeFocus) SetFocus();
    Invalidate();
    if (previous != iIndex && bTriggerEvent && m_pManager) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(iIndex),
                               static_cast<LPARAM>(previous));
    }
    return true;
}

CDuiString CComboUI::GetText() const {
    CListLabelElementUI* entry = GetEntry(m_iCurSel);
    return entry ? entry->GetText() : m_sText;
}

void CComboUI::ToggleDropDown() {
    if (m_pDropWindow) {
        m_pDropWindow->CloseList();
        return;
    }
    if (!m_pManager || GetCount() == 0) return;
    m_pDropWindow = new ComboDropWindow(this);
    if (!m_pDropWindow->Open()) {
        delete m_pDropWindow;
        m_pDropWindow = nullptr;
    }
}

void CComboUI::OnDropWindowClosed() {
    m_pDropWindow = nullptr;
    Invalidate();
}

void CComboUI::SetPos(RECT rc, bool bNeedInvalidate) {
    // The entries live in the drop-down list, not inside the face.
    CControlUI::SetPos(rc, bNeedInvalidate);
}

void CComboUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring name = ToLowerAscii(pstrName);
    if (name == L"dropboxsize") {
        const base::Size size = ParseSizeAttribute(pstrValue);
        m_szDropBox = SIZE{size.cx, size.cy};
    } else if (name == L"textpadding") {
        const base::Rect pad = ParseRectAttribute(pstrValue);
        m_rcTextPadding = base::ToRECT(pad);
    } else if (name == L"itemtextpadding") {
        const base::Rect pad = ParseRectAttribute(pstrValue);
        m_rcItemTextPadding = base::ToRECT(pad);
    } else if (name == L"font" || name == L"itemfont") {
        m_iFont = ParseIntAttribute(pstrValue);
    } else if (name == L"textcolor" || name == L"itemtextcolor") {
        if (auto color = ParseColorAttribute(pstrValue)) m_dwTextColor = *color;
    } else if (name == L"arrowcolor") {
        if (auto color = ParseColorAttribute(pstrValue)) m_dwArrowColor = *color;
    } else if (name == L"vscrollbar") {
        // The list has no scroll bar; the drop box is sized to its entries.
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

CControlUI* CComboUI::FindControlAt(POINT pt) {
    if (!IsVisible() || !IsMouseEnabled() || !PtInRect(&m_rcItem, pt)) return nullptr;
    return this;  // the entries are not under the face
}

void CComboUI::DoEvent(TEventUI& event) {
    const PressTracker::Result result = m_press.Handle(event, m_rcItem, IsEnabled());
    if (result.changed) Invalidate();
    if (result.clicked) ToggleDropDown();
    if (!result.handled) CContainerUI::DoEvent(event);
}

void CComboUI::DoPaint(HDC hDC, const RECT& rcPaint) {
    RECT overlap;
    if (!IntersectRect(&overlap, &rcPaint, &m_rcItem)) return;
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    Gdiplus::Graphics* g = Canvas(hDC);
    if (g && m_pManager) {
        // The chosen entry's text on the face (image-only entries show through bkimage).
        CListLabelElementUI* entry = GetEntry(m_iCurSel);
        const CDuiString text = entry ? entry->GetText() : m_sText;
        RECT rc{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                m_rcItem.right - m_rcTextPadding.right - 14, m_rcItem.bottom - m_rcTextPadding.bottom};
        DuiLib::DrawText(*g, text, rc, IsEnabled() ? m_dwTextColor : 0xFFA7A6AA,
                         m_pManager->GetFontInfo(m_iFont)->font.get(),
                         DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        // A small chevron at the right edge marks the drop-down.
        const Gdiplus::REAL cx = static_cast<Gdiplus::REAL>(m_rcItem.right - 10);
        const Gdiplus::REAL cy = (m_rcItem.top + m_rcItem.bottom) / 2.0f;
        const DWORD arrow = (m_press.State() & UISTATE_HOT) ? 0xFF1677FF : m_dwArrowColor;
        Gdiplus::Pen pen(Gdiplus::Color(arrow), 1.5f);
        const Gdiplus::SmoothingMode old = g->GetSmoothingMode();
        g->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        const Gdiplus::PointF points[3] = {{cx - 3.5f, cy - 1.5f}, {cx, cy + 2.0f}, {cx + 3.5f, cy - 1.5f}};
        g->DrawLines(&pen, points, 3);
        g->SetSmoothingMode(old);
    }
    PaintBorder(hDC);
}

}  // namespace DuiLib
