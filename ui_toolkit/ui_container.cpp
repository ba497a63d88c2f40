#include "ui_toolkit/ui_container.h"

#include "base/geometry_win.h"

#include <objidl.h>
#include <gdiplus.h>

#include "ui_toolkit/paint_manager.h"

namespace DuiLib {

namespace {


// Limits GDI and GDI+ drawing to a rectangle for the lifetime of the scope.
class ClipScope {
public:
    ClipScope(HDC hdc, Gdiplus::Graphics* g, const RECT& rc) : hdc_(hdc), g_(g) {
        saved_ = SaveDC(hdc_);
        IntersectClipRect(hdc_, rc.left, rc.top, rc.right, rc.bottom);
        if (g_) {
            state_ = g_->Save();
            g_->IntersectClip(Gdiplus::Rect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top));
        }
    }
    ~ClipScope() {
        if (g_) g_->Restore(state_);
        RestoreDC(hdc_, saved_);
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    HDC hdc_;
    Gdiplus::Graphics* g_;
    int saved_ = 0;
    Gdiplus::GraphicsState state_ = 0;
};

}  // namespace

CContainerUI::~CContainerUI() {
    for (CControlUI* item : m_items) delete item;
}

LPCTSTR CContainerUI::GetClass() const { return L"ContainerUI"; }

LPVOID CContainerUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"Container") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

bool CContainerUI::Add(CControlUI* pControl) { return AddAt(pControl, GetCount()); }

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex) {
    if (!pControl || iIndex < 0 || iIndex > GetCount()) return false;
    m_items.insert(m_items.begin() + iIndex, pControl);
    if (m_pManager) pControl->SetManager(m_pManager, this, true);
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* pControl) {
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (*it == pControl) {
            m_items.erase(it);
            delete pControl;
            NeedUpdate();
            return true;
        }
    }
    return false;
}

CControlUI* CContainerUI::GetItemAt(int iIndex) const {
    return iIndex >= 0 && iIndex < GetCount() ? m_items[static_cast<size_t>(iIndex)] : nullptr;
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const {
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i] == pControl) return static_cast<int>(i);
    }
    return -1;
}

CControlUI* CContainerUI::FindSubControl(LPCTSTR pstrSubControlName) {
    for (CControlUI* item : m_items) {
        if (item->GetName() == pstrSubControlName) return item;
        if (auto* container = static_cast<CContainerUI*>(item->GetInterface(L"Container"))) {
            if (CControlUI* found = container->FindSubControl(pstrSubControlName)) return found;
        }
    }
    return nullptr;
}

void CContainerUI::SetInset(RECT rcInset) {
    m_rcInset = rcInset;
    NeedUpdate();
}

void CContainerUI::SetChildPadding(int iPadding) {
    m_iChildPadding = iPadding;
    NeedUpdate();
}

void CContainerUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    std::vector<CControlUI*> visible;
    std::vector<BoxChild> layout;
    const SIZE available{rc.right - rc.left, rc.bottom - rc.top};
    for (CControlUI* item : m_items) {
        if (!item->IsVisible()) continue;
        const SIZE size = item->EstimateSize(available);
        const RECT pad = item->GetPadding();
        const RECT floatPos = item->GetFloatPos();
        BoxChild child;
        child.floating = item->IsFloat();
        child.floatPos = base::FromRECT(floatPos);
        child.fixedWidth = size.cx;
        child.fixedHeight = size.cy;
        child.padding = base::FromRECT(pad);
        layout.push_back(child);
        visible.push_back(item);
    }
    const std::vector<base::Rect> places =
        LayoutChildren(Kind(), base::FromRECT(rc), base::FromRECT(m_rcInset), m_iChildPadding, layout);
    for (size_t i = 0; i < visible.size(); ++i) {
        const base::Rect& p = places[i];
        visible[i]->SetPos(base::ToRECT(p), false);
    }
}

void CContainerUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring name = ToLowerAscii(pstrName);
    if (name == L"inset") {
        const base::Rect inset = ParseRectAttribute(pstrValue);
        SetInset(base::ToRECT(inset));
    } else if (name == L"childpadding") {
        SetChildPadding(ParseIntAttribute(pstrValue));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    for (CControlUI* item : m_items) item->SetManager(pManager, this, bInit);
    CControlUI::SetManager(pManager, pParent, bInit);
}

CControlUI* CContainerUI::FindControlAt(POINT pt) {
    if (!IsVisible() || !PtInRect(&m_rcItem, pt)) return nullptr;
    if (IsMouseChildEnabled()) {
        // Later children are painted on top, so they are hit first.
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
            if (CControlUI* hit = (*it)->FindControlAt(pt)) return hit;
        }
    }
    return IsMouseEnabled() ? this : nullptr;
}

void CContainerUI::ForEach(void (*visit)(CControlUI*, void*), void* data) {
    visit(this, data);
    for (CControlUI* item : m_items) item->ForEach(visit, data);
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint) {
    RECT area;
    if (!IntersectRect(&area, &rcPaint, &m_rcItem)) return;
    CControlUI::DoPaint(hDC, rcPaint);
    for (CControlUI* item : m_items) {
        RECT overlap;
        if (!item->IsVisible() || !IntersectRect(&overlap, &area, &item->GetPos())) continue;
        ClipScope clip(hDC, m_pManager ? m_pManager->GetCanvas() : nullptr, area);
        item->DoPaint(hDC, area);
    }
}

LPCTSTR CHorizontalLayoutUI::GetClass() const { return L"HorizontalLayoutUI"; }

LPVOID CHorizontalLayoutUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

LPCTSTR CVerticalLayoutUI::GetClass() const { return L"VerticalLayoutUI"; }

LPVOID CVerticalLayoutUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"VerticalLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

}  // namespace DuiLib
