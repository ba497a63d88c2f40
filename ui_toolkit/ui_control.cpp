#include "ui_toolkit/ui_control.h"

#include "base/geometry_win.h"

#include <objidl.h>
#include <gdiplus.h>

#include "ui_toolkit/paint_manager.h"

namespace DuiLib {

namespace {


}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (m_pManager) m_pManager->ReapObjects(this);
}

LPCTSTR CControlUI::GetClass() const { return L"ControlUI"; }

LPVOID CControlUI::GetInterface(LPCTSTR pstrName) {
    return lstrcmpW(pstrName, L"Control") == 0 ? this : nullptr;
}

void CControlUI::SetText(LPCTSTR pstrText) {
    if (m_sText == pstrText) return;
    m_sText = pstrText;
    Invalidate();
}

void CControlUI::SetPos(RECT rc, bool bNeedInvalidate) {
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    if (bNeedInvalidate) Invalidate();  // the old place
    m_rcItem = rc;
    m_bUpdateNeeded = false;
    if (bNeedInvalidate) Invalidate();  // the new place
}

void CControlUI::SetFixedWidth(int cx) {
    if (cx < 0 || cx == m_cxyFixed.cx) return;
    m_cxyFixed.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy) {
    if (cy < 0 || cy == m_cxyFixed.cy) return;
    m_cxyFixed.cy = cy;
    NeedParentUpdate();
}

void CControlUI::SetPadding(RECT rc) {
    m_rcPadding = rc;
    NeedParentUpdate();
}

void CControlUI::SetFloat(bool bFloat) {
    m_bFloat = bFloat;
    NeedParentUpdate();
}

void CControlUI::SetFloatPos(RECT rc) {
    m_rcFloat = rc;
    NeedParentUpdate();
}

SIZE CControlUI::EstimateSize(SIZE /*szAvailable*/) { return m_cxyFixed; }

void CControlUI::SetVisible(bool bVisible) {
    if (m_bVisible == bVisible) return;
    m_bVisible = bVisible;
    if (!bVisible && m_pManager && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
    NeedParentUpdate();
}

void CControlUI::SetEnabled(bool bEnable) {
    if (m_bEnabled == bEnable) return;
    m_bEnabled = bEnable;
    Invalidate();
}

void CControlUI::SetFocus() {
    if (m_pManager) m_pManager->SetFocus(this);
}

void CControlUI::SetBkColor(DWORD dwColor) {
    m_dwBackColor = dwColor;
    Invalidate();
}

void CControlUI::SetBkImage(LPCTSTR pStrImage) {
    if (m_sBkImage == pStrImage) return;
    m_sBkImage = pStrImage;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD dwColor) {
    m_dwBorderColor = dwColor;
    Invalidate();
}

void CControlUI::SetBorderSize(int nSize) {
    m_nBorderSize = nSize;
    Invalidate();
}

void CControlUI::SetBorderRound(SIZE cxyRound) {
    m_cxyBorderRound = cxyRound;
    Invalidate();
}

void CControlUI::SetToolTip(LPCTSTR pstrText) { m_sToolTip = pstrText; }

void CControlUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring name = ToLowerAscii(pstrName);
    const std::wstring value = pstrValue;
    if (name == L"name") {
        SetName(pstrValue);
    } else if (name == L"text") {
        SetText(pstrValue);
    } else if (name == L"tooltip") {
        SetToolTip(pstrValue);
    } else if (name == L"width") {
        SetFixedWidth(ParseIntAttribute(value));
    } else if (name == L"height") {
        SetFixedHeight(ParseIntAttribute(value));
    } else if (name == L"padding" || name == L"margin") {
        SetPadding(base::ToRECT(ParseRectAttribute(value)));
    } else if (name == L"pos") {
        const base::Rect pos = ParseRectAttribute(value);
        m_rcFloat = base::ToRECT(pos);
        if (pos.Width() > 0) m_cxyFixed.cx = pos.Width();
        if (pos.Height() > 0) m_cxyFixed.cy = pos.Height();
        NeedParentUpdate();
    } else if (name == L"float") {
        SetFloat(ParseBoolAttribute(value));
    } else if (name == L"visible") {
        SetVisible(ParseBoolAttribute(value));
    } else if (name == L"enabled") {
        SetEnabled(ParseBoolAttribute(value));
    } else if (name == L"mouse") {
        SetMouseEnabled(ParseBoolAttribute(value));
    } else if (name == L"mousechild") {
        SetMouseChildEnabled(ParseBoolAttribute(value));
    } else if (name == L"bkcolor") {
        if (auto color = ParseColorAttribute(value)) SetBkColor(*color);
    } else if (name == L"bkimage") {
        SetBkImage(pstrValue);
    } else if (name == L"bordercolor") {
        if (auto color = ParseColorAttribute(value)) SetBorderColor(*color);
    } else if (name == L"bordersize") {
        SetBorderSize(ParseIntAttribute(value));
    } else if (name == L"borderround" || name == L"roundcorner") {
        const base::Size round = ParseSizeAttribute(value);
        SetBorderRound(SIZE{round.cx, round.cy});
    } else if (name == L"cursor") {
        m_sCursor = pstrValue;
    } else if (name == L"style") {
        if (m_pManager) {
            if (LPCTSTR list = m_pManager->GetStyle(pstrValue)) {
                for (const auto& [key, item] : ParseAttributeList(list)) {
                    SetAttribute(key.c_str(), item.c_str());
                }
            }
        }
    } else {
        AddCustomAttribute(pstrName, pstrValue);
    }
}

void CControlUI::AddCustomAttribute(LPCTSTR pstrName, LPCTSTR pstrAttr) {
    m_customAttributes[pstrName] = pstrAttr;
}

LPCTSTR CControlUI::GetCustomAttribute(LPCTSTR pstrName) const {
    auto found = m_customAttributes.find(pstrName);
    return found == m_customAttributes.end() ? nullptr : found->second.c_str();
}

void CControlUI::Invalidate() {
    if (!m_pManager || !m_bVisible) return;
    RECT rc = m_rcItem;
    if (rc.right > rc.left && rc.bottom > rc.top) m_pManager->Invalidate(rc);
}

void CControlUI::NeedUpdate() {
    m_bUpdateNeeded = true;
    if (m_pManager) {
        m_pManager->NeedUpdate();
        m_pManager->Invalidate();
    }
}

void CControlUI::NeedParentUpdate() {
    if (m_pParent) {
        m_pParent->NeedUpdate();
    } else {
        NeedUpdate();
    }
}

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && pManager) Init();
}

void CControlUI::Init() {
    DoInit();
    if (m_pManager) m_pManager->NameControl(this);
}

CControlUI* CControlUI::FindControlAt(POINT pt) {
    if (!m_bVisible || !m_bMouseEnabled) return nullptr;
    return PtInRect(&m_rcItem, pt) ? this : nullptr;
}

void CControlUI::ForEach(void (*visit)(CControlUI*, void*), void* data) { visit(this, data); }

void CControlUI::Event(TEventUI& event) { DoEvent(event); }

void CControlUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_SETFOCUS) {
        m_bFocused = true;
        Invalidate();
    } else if (event.Type == UIEVENT_KILLFOCUS) {
        m_bFocused = false;
        Invalidate();
    }
}

Gdiplus::Graphics* CControlUI::Canvas(HDC /*hDC*/) const {
    return m_pManager ? m_pManager->GetCanvas() : nullptr;
}

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint) {
    RECT overlap;
    if (!IntersectRect(&overlap, &rcPaint, &m_rcItem)) return;
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintText(hDC);
    PaintBorder(hDC);
}

void CControlUI::PaintBkColor(HDC hDC) {
    if (Gdiplus::Graphics* g = Canvas(hDC)) DuiLib::FillRect(*g, m_rcItem, m_dwBackColor, m_cxyBorderRound);
}

void CControlUI::PaintBkImage(HDC hDC) {
    if (!m_sBkImage.IsEmpty()) DrawImage(hDC, m_sBkImage);
}

void CControlUI::PaintStatusImage(HDC /*hDC*/) {}

void CControlUI::PaintText(HDC /*hDC*/) {}

void CControlUI::PaintBorder(HDC hDC) {
    if (Gdiplus::Graphics* g = Canvas(hDC)) {
        DuiLib::DrawBorder(*g, m_rcItem, m_dwBorderColor, m_nBorderSize, m_cxyBorderRound);
    }
}

bool CControlUI::DrawImage(HDC hDC, const CDuiString& image) {
    Gdiplus::Graphics* g = Canvas(hDC);
    if (!g || image.IsEmpty()) return false;
    const ImageDescriptor descriptor = ParseImageDescriptor(image.Str());
    std::shared_ptr<const UiImage> picture = m_pManager->GetImage(descriptor.file);
    if (!picture) return false;
    const bool plain = !descriptor.dest && !descriptor.source && descriptor.fade == 255 &&
                       descriptor.corner == base::Rect{} && picture->opaque &&
                       m_rcItem.right - m_rcItem.left == picture->width &&
                       m_rcItem.bottom - m_rcItem.top == picture->height;
    int frameWidth = 0, frameHeight = 0;
    uint32_t* frame = plain ? m_pManager->FrameBits(frameWidth, frameHeight) : nullptr;
    Gdiplus::Rect visible;
    if (frame && g->GetVisibleClipBounds(&visible) == Gdiplus::Ok) {
        // An opaque picture at its own size (a pinned capture) is copied into the frame: what
        // GDI+ drew before it is finished first.
        g->Flush(Gdiplus::FlushIntentionSync);
        CopyOpaqueImage(*picture, frame, frameWidth, frameHeight, m_rcItem.left, m_rcItem.top,
                        RECT{visible.X, visible.Y, visible.X + visible.Width, visible.Y + visible.Height});
        return true;
    }
    DuiLib::DrawImage(*g, *picture, m_rcItem, descriptor);
    return true;
}

}  // namespace DuiLib
