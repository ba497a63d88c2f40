#include "toolbar/color_block_control_win.h"

#include <objidl.h>
#include <gdiplus.h>

#include "base/geometry_win.h"
#include "toolbar/control_geometry.h"
#include "ui_toolkit/ui_render.h"

namespace DuiLib {

CColorBlockControlUI::CColorBlockControlUI() { SetBkColor(0); }

CColorBlockControlUI::~CColorBlockControlUI() = default;

LPCTSTR CColorBlockControlUI::GetClass() const { return L"ColorBlockControlUI"; }

LPVOID CColorBlockControlUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"ColorBlock") == 0) return this;
    return COptionUI::GetInterface(pstrName);
}

void CColorBlockControlUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    switch (ApplyColorBlockAttribute(look_, pstrName, pstrValue)) {
        case AttributeEffect::kNotMine: COptionUI::SetAttribute(pstrName, pstrValue); break;
        case AttributeEffect::kRepaintIfSelected:
            if (IsSelected()) Invalidate();
            break;
        default: Invalidate(); break;
    }
}

void CColorBlockControlUI::PaintBkImage(HDC hDC) {
    if (Gdiplus::Graphics* g = Canvas(hDC)) {
        const ColorBlockPaint paint = LayOutColorBlock(base::FromRECT(m_rcItem), look_, IsSelected());
        // Crisp edges: a one-pixel border falls on one column, the block on whole pixels.
        const Gdiplus::SmoothingMode smoothing = g->GetSmoothingMode();
        g->SetSmoothingMode(Gdiplus::SmoothingModeNone);
        if (!paint.border.IsEmpty()) {
            Gdiplus::Pen pen(Gdiplus::Color(paint.borderColor), paint.borderWidth);
            g->DrawRectangle(&pen, paint.border.left, paint.border.top, paint.border.Width(), paint.border.Height());
        }
        if (!paint.block.IsEmpty()) FillRect(*g, base::ToRECT(paint.block), paint.blockColor, SIZE{0, 0});
        g->SetSmoothingMode(smoothing);
    }
    CControlUI::PaintBkImage(hDC);
}

}  // namespace DuiLib
