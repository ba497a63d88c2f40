#include "ui_toolkit/ui_edit.h"

#include "base/unique_handle.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <vector>

#include "ui_toolkit/paint_manager.h"
#include "ui_toolkit/ui_container.h"

namespace DuiLib {

namespace {

constexpr wchar_t kControlProperty[] = L"DuiLibEditControl";

COLORREF ToColorRef(DWORD argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace

CEditUI::CEditUI() { m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS; }

CEditUI::~CEditUI() {
    if (m_hwndEdit) {
        RemovePropW(m_hwndEdit, kControlProperty);
        if (m_oldProc) SetWindowLongPtrW(m_hwndEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
        DestroyWindow(m_hwndEdit);
    }
    if (m_hBkBrush) DeleteObject(m_hBkBrush);
}

LPCTSTR CEditUI::GetClass() const { return L"EditUI"; }

LPVOID CEditUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"Edit") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

CDuiString CEditUI::GetText() const {
    if (!m_hwndEdit) return m_sText;
    const int length = GetWindowTextLengthW(m_hwndEdit);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(m_hwndEdit, buffer.data(), length + 1);
    return CDuiString(buffer.data());
}

void CEditUI::SetText(LPCTSTR pstrText) {
    m_sText = pstrText;
    if (m_hwndEdit) SetWindowTextW(m_hwndEdit, pstrText);
    Invalidate();
}

void CEditUI::SetMaxChar(UINT uMax) {
    m_uMaxChar = uMax;
    if (m_hwndEdit) SendMessageW(m_hwndEdit, EM_LIMITTEXT, uMax, 0);
}

void CEditUI::SetPromptText(LPCTSTR pstrText) {
    m_sPromptText = pstrText;
    if (m_hwndEdit) InvalidateRect(m_hwndEdit, nullptr, TRUE);
}

void CEditUI::SetEnabled(bool bEnable) {
    if (!bEnable && m_hwndEdit) m_sText = GetText();
    CLabelUI::SetEnabled(bEnable);
    SyncNativeWindow();
}

void CEditUI::SetVisible(bool bVisible) {
    CLabelUI::SetVisible(bVisible);
    SyncNativeWindow();
}

void CEditUI::SetFocus() {
    CLabelUI::SetFocus();
    if (m_hwndEdit && IsWindowVisible(m_hwndEdit)) ::SetFocus(m_hwndEdit);
}

void CEditUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CLabelUI::SetPos(rc, bNeedInvalidate);
    SyncNativeWindow();
}

void CEditUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring name = ToLowerAscii(pstrName);
    if (name == L"maxchar") {
        SetMaxChar(static_cast<UINT>(ParseIntAttribute(pstrValue)));
    } else if (name == L"readonly") {
        m_bReadOnly = ParseBoolAttribute(pstrValue);
    } else if (name == L"password") {
        m_bPassword = ParseBoolAttribute(pstrValue);
    } else if (name == L"prompttext" || name == L"placeholder" || name == L"tipvalue") {
        SetPromptText(pstrValue);
    } else if (name == L"promptcolor" || name == L"tipvaluecolor") {
        if (auto color = ParseColorAttribute(pstrValue)) m_dwPromptColor = *color;
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

void CEditUI::DoInit() {
    if (m_hwndEdit || !m_pManager || !m_pManager->GetPaintWindow()) return;
    DWORD style = WS_CHILD | WS_TABSTOP;
    style |= IsMultiLine() ? (ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN) : ES_AUTOHSCROLL;
    if (m_bReadOnly) style |= ES_READONLY;
    if (m_bPassword) style |= ES_PASSWORD;
    m_hwndEdit = CreateWindowExW(0, L"EDIT", m_sText, style, 0, 0, 0, 0, m_pManager->GetPaintWindow(),
                                 nullptr, CPaintManagerUI::GetInstance(), nullptr);
    if (!m_hwndEdit) return;
    SetPropW(m_hwndEdit, kControlProperty, this);
    m_oldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_hwndEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CEditUI::EditProc)));
    SendMessageW(m_hwndEdit, WM_SETFONT, reinterpret_cast<WPARAM>(m_pManager->GetFontInfo(m_iFont)->hFont), TRUE);
    SendMessageW(m_hwndEdit, EM_LIMITTEXT, m_uMaxChar, 0);
    m_pManager->RegisterNativeEdit(m_hwndEdit, this);
    SyncNativeWindow();
}

void CEditUI::SyncNativeWindow() {
    if (!m_hwndEdit) return;
    const bool shown = IsVisible() && IsEnabled() && m_rcItem.right > m_rcItem.left;
    if (shown) {
        const int border = m_nBorderSize;
        RECT rc{m_rcItem.left + m_rcTextPadding.left + border, m_rcItem.top + m_rcTextPadding.top + border,
                m_rcItem.right - m_rcTextPadding.right - border,
                m_rcItem.bottom - m_rcTextPadding.bottom - border};
        SetWindowPos(m_hwndEdit, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else {
        ShowWindow(m_hwndEdit, SW_HIDE);
    }
}

void CEditUI::ExcludeFloatingSiblings() {
    // The native window would hide controls floating over the edit (a character count in a
    // corner); its region leaves their place to the parent's painting. Run at paint time, when
    // every sibling has its place.
    RECT native;
    GetWindowRect(m_hwndEdit, &native);
    MapWindowPoints(nullptr, ::GetParent(m_hwndEdit), reinterpret_cast<POINT*>(&native), 2);
    auto* parent = m_pParent ? static_cast<CContainerUI*>(m_pParent->GetInterface(L"Container")) : nullptr;
    std::vector<RECT> holes;
    for (int i = 0; parent && i < parent->GetCount(); ++i) {
        CControlUI* sibling = parent->GetItemAt(i);
        RECT overlap;
        if (sibling == this || !sibling->IsFloat() || !sibling->IsVisible() ||
            !IntersectRect(&overlap, &sibling->GetPos(), &native)) {
            continue;
        }
        OffsetRect(&overlap, -native.left, -native.top);
        holes.push_back(overlap);
    }
    const bool same = holes.size() == m_excluded.size() &&
                      std::equal(holes.begin(), holes.end(), m_excluded.begin(),
                                 [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; });
    if (same) return;
    m_excluded = holes;
    if (holes.empty()) {
        SetWindowRgn(m_hwndEdit, nullptr, TRUE);
        return;
    }
    UniqueRegion region(CreateRectRgn(0, 0, native.right - native.left, native.bottom - native.top));
    for (const RECT& hole : holes) {
        UniqueRegion cut(CreateRectRgnIndirect(&hole));
        CombineRgn(region.Get(), region.Get(), cut.Get(), RGN_DIFF);
    }
    // The window owns the region once it took it.
    if (SetWindowRgn(m_hwndEdit, region.Get(), TRUE)) region.Release();
    // The holes now show the parent, which paints them on its next pass.
    for (RECT hole : holes) {
        OffsetRect(&hole, native.left, native.top);
        InvalidateRect(::GetParent(m_hwndEdit), &hole, FALSE);
    }
}

void CEditUI::PaintText(HDC hDC) {
    // While the native window shows, it draws the text.
    if (m_hwndEdit && IsWindowVisible(m_hwndEdit)) {
        ExcludeFloatingSiblings();
        return;
    }
    CLabelUI::PaintText(hDC);
}

LRESULT CEditUI::OnCtlColor(HDC hdc) {
    ::SetTextColor(hdc, ToColorRef(m_dwTextColor));
    const DWORD background = (m_dwBackColor >> 24) ? m_dwBackColor : 0xFFFFFFFF;
    ::SetBkColor(hdc, ToColorRef(background));
    if (!m_hBkBrush) m_hBkBrush = CreateSolidBrush(ToColorRef(background));
    return reinterpret_cast<LRESULT>(m_hBkBrush);
}

LRESULT CALLBACK CEditUI::EditProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CEditUI*>(GetPropW(hWnd, kControlProperty));
    if (!self || !self->m_oldProc) return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    // Escape belongs to the window, as in a dialog's edit: it cancels there. Its character
    // would only beep.
    if (uMsg == WM_KEYDOWN && wParam == VK_ESCAPE) return SendMessageW(::GetParent(hWnd), uMsg, wParam, lParam);
    if (uMsg == WM_CHAR && wParam == VK_ESCAPE) return 0;
    const LRESULT result = CallWindowProcW(self->m_oldProc, hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_NCDESTROY) {
        // Destroyed with its parent window: the control must not touch the handle again.
        RemovePropW(hWnd, kControlProperty);
        self->m_hwndEdit = nullptr;
        self->m_oldProc = nullptr;
        return result;
    }
    if (uMsg == WM_PAINT && !self->m_sPromptText.IsEmpty() && GetWindowTextLengthW(hWnd) == 0) {
        // The placeholder: grey text where typing would begin.
        WindowDc dc(hWnd);
        RECT format;
        SendMessageW(hWnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        SelectedObject font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(hWnd, WM_GETFONT, 0, 0)));
        ::SetTextColor(dc.Get(), ToColorRef(self->m_dwPromptColor));
        SetBkMode(dc.Get(), TRANSPARENT);
        ::DrawTextW(dc.Get(), self->m_sPromptText, -1, &format,
                    self->IsMultiLine() ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER));
    } else if (uMsg == WM_SETFOCUS || uMsg == WM_KILLFOCUS) {
        InvalidateRect(hWnd, nullptr, TRUE);
    }
    return result;
}

LPCTSTR CRichEditUI::GetClass() const { return L"RichEditUI"; }

LPVOID CRichEditUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"RichEdit") == 0) return this;
    return CEditUI::GetInterface(pstrName);
}

void CRichEditUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (ToLowerAscii(pstrName) == L"multiline") {
        m_bMultiLine = ParseBoolAttribute(pstrValue);
    } else {
        CEditUI::SetAttribute(pstrName, pstrValue);
    }
}

}  // namespace DuiLib
