#include "ui_toolkit/ui_button.h"

#include "base/geometry_win.h"

#include <objidl.h>
#include <gdiplus.h>

#include "ui_toolkit/paint_manager.h"

namespace DuiLib {

namespace {

RECT Inset(const RECT& rc, const RECT& by) {
    return RECT{rc.left + by.left, rc.top + by.top, rc.right - by.right, rc.bottom - by.bottom};
}

}  // namespace

// ---- CLabelUI ----------------------------------------------------------------------------

LPCTSTR CLabelUI::GetClass() const { return L"LabelUI"; }

LPVOID CLabelUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"Label") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

void CLabelUI::SetTextStyle(UINT uStyle) {
    m_uTextStyle = uStyle;
    Invalidate();
}

void CLabelUI::SetTextColor(DWORD dwTextColor) {
    m_dwTextColor = dwTextColor;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor) {
    m_dwDisabledTextColor = dwTextColor;
    Invalidate();
}

void CLabelUI::SetFont(int index) {
    m_iFont = index;
    Invalidate();
}

void CLabelUI::SetTextPadding(RECT rc) {
    m_rcTextPadding = rc;
    Invalidate();
}

SIZE CLabelUI::EstimateSize(SIZE szAvailable) {
    SIZE size = CControlUI::EstimateSize(szAvailable);
    if (m_bAutoCalcWidth && m_pManager) {
        const SIZE text = m_pManager->MeasureText(m_sText, m_iFont);
        size.cx = text.cx + m_rcTextPadding.left + m_rcTextPadding.right;
    }
    return size;
}

void CLabelUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring name = ToLowerAscii(pstrName);
    const std::wstring value = ToLowerAscii(pstrValue);
    if (name == L"align") {
        m_uTextStyle &= ~(DT_LEFT | DT_CENTER | DT_RIGHT);
        if (value.find(L"center") != std::wstring::npos) m_uTextStyle |= DT_CENTER;
        if (value.find(L"right") != std::wstring::npos) m_uTextStyle |= DT_RIGHT;
        if (value.find(L"top") != std::wstring::npos) m_uTextStyle = (m_uTextStyle & ~(DT_VCENTER | DT_BOTTOM)) | DT_TOP;
        if (value.find(L"bottom") != std::wstring::npos) m_uTextStyle = (m_uTextStyle & ~(DT_VCENTER | DT_TOP)) | DT_BOTTOM;
        Invalidate();
    } else if (name == L"valign") {
        m_uTextStyle &= ~(DT_TOP | DT_VCENTER | DT_BOTTOM);
        m_uTextStyle |= value == L"top" ? UINT{DT_TOP} : value == L"bottom" ? UINT{DT_BOTTOM} : UINT{DT_VCENTER};
        Invalidate();
    } else if (name == L"endellipsis") {
        SetTextStyle(ParseBoolAttribute(value) ? m_uTextStyle | DT_END_ELLIPSIS
                                               : m_uTextStyle & ~DT_END_ELLIPSIS);
    } else if (name == L"multiline" || name == L"wordbreak") {
        SetTextStyle(ParseBoolAttribute(value) ? (m_uTextStyle & ~DT_SINGLELINE) | DT_WORDBREAK
                                               : (m_uTextStyle | DT_SINGLELINE) & ~DT_WORDBREAK);
    } else if (name == L"textcolor") {
        if (auto color = ParseColorAttribute(pstrValue)) SetTextColor(*color);
    } else if (name == L"disabledtextcolor") {
        if (auto color = ParseColorAttribute(pstrValue)) SetDisabledTextColor(*color);
    } else if (name == L"font") {
        SetFont(ParseIntAttribute(pstrValue));
    } else if (name == L"textpadding") {
        const base::Rect pad = ParseRectAttribute(pstrValue);
        SetTextPadding(base::ToRECT(pad));
    } else if (name == L"width") {
        m_bAutoCalcWidth = false;  // a given width wins over measuring the text
        CControlUI::SetAttribute(pstrName, pstrValue);
    } else if (name == L"autocalcwidth") {
        m_bAutoCalcWidth = ParseBoolAttribute(value);
        NeedParentUpdate();
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

DWORD CLabelUI::CurrentTextColor() const {
    return IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
}

void CLabelUI::PaintText(HDC hDC) { PaintTextIn(hDC, CurrentTextColor()); }

void CLabelUI::PaintTextIn(HDC hDC, DWORD color) {
    Gdiplus::Graphics* g = Canvas(hDC);
    if (!g || m_sText.IsEmpty() || !m_pManager) return;
    DuiLib::DrawText(*g, m_sText, Inset(m_rcItem, m_rcTextPadding), color,
                     m_pManager->GetFontInfo(m_iFont)->font.get(), m_uTextStyle);
}

// ---- CButtonUI ---------------------------------------------------------------------------

CButtonUI::CButtonUI() { m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER; }

LPCTSTR CButtonUI::GetClass() const { return L"ButtonUI"; }

LPVOID CButtonUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"Button") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

bool CButtonUI::Activate() {
    if (!IsVisible() || !IsEnabled()) return false;
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK);
    return true;
}

void CButtonUI::SetNormalImage(LPCTSTR pStrImage) {
    m_sNormalImage = pStrImage;
    Invalidate();
}

void CButtonUI::SetHotImage(LPCTSTR pStrImage) {
    m_sHotImage = pStrImage;
    Invalidate();
}

void CButtonUI::SetPushedImage(LPCTSTR pStrImage) {
    m_sPushedImage = pStrImage;
    Invalidate();
}

void CButtonUI::SetDisabledImage(LPCTSTR pStrImage) {
    m_sDisabledImage = pStrImage;
    Invalidate();
}

void CButtonUI::SetEnabled(bool bEnable) {
    CControlUI::SetEnabled(bEnable);
    if (!bEnable) m_press.Clear();
}

void CButtonUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring name = ToLowerAscii(pstrName);
    if (name == L"normalimage") {
        SetNormalImage(pstrValue);
    } else if (name == L"hotimage") {
        SetHotImage(pstrValue);
    } else if (name == L"pushedimage") {
        SetPushedImage(pstrValue);
    } else if (name == L"disabledimage") {
        SetDisabledImage(pstrValue);
    } else if (name == L"stateimage") {
        m_sStateImage = pstrValue;
        Invalidate();
    } else if (name == L"statecount") {
        m_iStateCount = ParseIntAttribute(pstrValue);
        Invalidate();
    } else if (name == L"hottextcolor") {
        if (auto color = ParseColorAttribute(pstrValue)) m_dwHotTextColor = *color;
    } else if (name == L"pushedtextcolor") {
        if (auto color = ParseColorAttribute(pstrValue)) m_dwPushedTextColor = *color;
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

void CButtonUI::DoEvent(TEventUI& event) {
    const PressTracker::Result result = m_press.Handle(event, m_rcItem, IsEnabled());
    if (result.changed) Invalidate();
    if (result.clicked) Activate();  // last: the click may close the window
    if (!result.handled) CControlUI::DoEvent(event);
}

int CButtonUI::StateIndex() const {
    if (!IsEnabled()) return 3;
    if (m_press.State() & UISTATE_PUSHED) return 2;
    if (m_press.State() & UISTATE_HOT) return 1;
    return 0;
}

void CButtonUI::PaintStateImage(HDC hDC, const CDuiString& image, int index) {
    Gdiplus::Graphics* g = Canvas(hDC);
    if (!g || image.IsEmpty() || !m_pManager) return;
    ImageDescriptor descriptor = ParseImageDescriptor(image.Str());
    std::shared_ptr<const UiImage> picture = m_pManager->GetImage(descriptor.file);
    if (!picture) return;
    if (m_iStateCount > 1) {
        const int part = index < m_iStateCount ? index : m_iStateCount - 1;
        const int width = picture->width / m_iStateCount;
        descriptor.source = base::Rect{part * width, 0, (part + 1) * width, picture->height};
    }
    DuiLib::DrawImage(*g, *picture, m_rcItem, descriptor);
}

void CButtonUI::PaintStatusImage(HDC hDC) {
    if (!m_sStateImage.IsEmpty()) {
        PaintStateImage(hDC, m_sStateImage, StateIndex());
        return;
    }
    const int index = StateIndex();
    // Each state falls back to the normal image when it has none of its own.
    const CDuiString* image = &m_sNormalImage;
    if (index == 3 && !m_sDisabledImage.IsEmpty()) image = &m_sDisabledImage;
    if (index == 2 && !m_sPushedImage.IsEmpty()) image = &m_sPushedImage;
    if (index == 1 && !m_sHotImage.IsEmpty()) image = &m_sHotImage;
    if (!image->IsEmpty()) DrawImage(hDC, *image);
}

DWORD CButtonUI::CurrentTextColor() const {
    if (IsEnabled() && (m_press.State() & UISTATE_PUSHED) && m_dwPushedTextColor) {
        return m_dwPushedTextColor;
    }
    if (IsEnabled() && (m_press.State() & UISTATE_HOT) && m_dwHotTextColor) return m_dwHotTextColor;
    return CLabelUI::CurrentTextColor();
}

// ---- COptionUI ---------------------------------------------------------------------------

COptionUI::~COptionUI() {
    if (m_pManager && !m_sGroupName.IsEmpty()) m_pManager->GetOptionGroups().Remove(m_sGroupName.Str(), this);
}

LPCTSTR COptionUI::GetClass() const { return L"OptionUI"; }

LPVOID COptionUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"Option") == 0) return this;
    return CButtonUI::GetInterface(pstrName);
}

void COptionUI::SetGroup(LPCTSTR pStrGroupName) {
    if (m_pManager && !m_sGroupName.IsEmpty()) m_pManager->GetOptionGroups().Remove(m_sGroupName.Str(), this);
    m_sGroupName = pStrGroupName;
    if (m_pManager && !m_sGroupName.IsEmpty()) m_pManager->GetOptionGroups().Add(m_sGroupName.Str(), this);
    Selected(m_bSelected, false);
}

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    CButtonUI::SetManager(pManager, pParent, bInit);
    if (bInit && pManager && !m_sGroupName.IsEmpty()) pManager->GetOptionGroups().Add(m_sGroupName.Str(), this);
}

void COptionUI::Selected(bool bSelected, bool bTriggerEvent) {
    const bool changed = m_bSelected != bSelected;
    m_bSelected = bSelected;
    if (bSelected && m_pManager && !m_sGroupName.IsEmpty()) {
        for (COptionUI* other : m_pManager->GetOptionGroups().Members(m_sGroupName.Str())) {
            if (other != this && other->IsSelected()) other->Selected(false, bTriggerEvent);
        }
    }
    Invalidate();
    if (changed && bTriggerEvent && m_pManager) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED);
    }
}

bool COptionUI::Activate() {
    if (!IsVisible() || !IsEnabled()) return false;
    // A grouped option stays selected when clicked again; a lone one toggles.
    Selected(m_sGroupName.IsEmpty() ? !m_bSelected : true, true);
    return CButtonUI::Activate();
}

void COptionUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring name = ToLowerAscii(pstrName);
    if (name == L"group") {
        SetGroup(pstrValue);
    } else if (name == L"selected") {
        Selected(ParseBoolAttribute(pstrValue), false);
    } else if (name == L"selectedimage") {
        m_sSelectedImage = pstrValue;
        Invalidate();
    } else if (name == L"selectedhotimage") {
        m_sSelectedHotImage = pstrValue;
        Invalidate();
    } else if (name == L"selectedstateimage") {
        m_sSelectedStateImage = pstrValue;
        Invalidate();
    } else if (name == L"selectedtextcolor") {
        if (auto color = ParseColorAttribute(pstrValue)) m_dwSelectedTextColor = *color;
    } else {
        CButtonUI::SetAttribute(pstrName, pstrValue);
    }
}

void COptionUI::PaintStatusImage(HDC hDC) {
    if (m_bSelected && !m_sSelectedStateImage.IsEmpty()) {
        PaintStateImage(hDC, m_sSelectedStateImage, StateIndex());
        return;
    }
    if (m_bSelected && IsEnabled()) {
        const CDuiString& image = (m_press.State() & UISTATE_HOT) && !m_sSelectedHotImage.IsEmpty()
                                      ? m_sSelectedHotImage
                                      : m_sSelectedImage;
        if (!image.IsEmpty() && DrawImage(hDC, image)) return;
    }
    CButtonUI::PaintStatusImage(hDC);
}

DWORD COptionUI::CurrentTextColor() const {
    if (m_bSelected && IsEnabled() && m_dwSelectedTextColor) return m_dwSelectedTextColor;
    return CButtonUI::CurrentTextColor();
}

}  // namespace DuiLib
