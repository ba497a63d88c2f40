#include "toolbar/rectangular_selector_tool_bar.h"

#include "base/app_messages.h"
#include "toolbar/color_block_control_win.h"
#include "toolbar/shape_control_win.h"
#include "toolbar/toolbar_button_names.h"

using namespace DuiLib;

CRectangularSelectorToolBar::~CRectangularSelectorToolBar() { Dismiss(); }

void CRectangularSelectorToolBar::Dismiss() {
    if (!::IsWindow(m_hWnd)) return;
    dismissing_ = true;
    DestroyWindow(m_hWnd);
    dismissing_ = false;
}

void CRectangularSelectorToolBar::InitWindow() {
    CUsingGlobalRes::UsingFont(CResourceManager::GetInstance(), &m_pm);
}

void CRectangularSelectorToolBar::OnClick(TNotifyUI& msg) {
    if (!msg.pSender) return;
    const TOOL_BAR_BTN_TYPE value = ToolbarButtonValue(LowerAsciiName(msg.pSender->GetName().Str()));
    if (value == TOOL_BAR_BTN_TYPE::kNone) {
        attributes_.OnColorChosen(msg.pSender, tools_.Current());
        return;
    }
    // The callback may end the capture; it sees the press before the toolbar changes.
    if (callback_) callback_(value);
    if (value == TOOL_BAR_BTN_TYPE::kDelete) return;
    ShowAttributeBarFor(value);
    attributes_.Load(value);
    const ToolbarToolState::ClickOutcome outcome = tools_.Click(value);
    if (outcome.deselect) PostMessage(WM_TOOLBAR_DESELECT, static_cast<WPARAM>(value));
}

void CRectangularSelectorToolBar::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_ITEMSELECT) attributes_.OnItemSelect(msg, tools_.Current());
    WindowImplBase::Notify(msg);
}

LRESULT CRectangularSelectorToolBar::HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM, BOOL& handled) {
    handled = FALSE;
    switch (msg) {
        case WM_DESTROY:
            // The toolbar going away ends the capture, unless the capture is what removes it.
            if (!dismissing_) PostQuitMessage(0);
            handled = TRUE;
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                PostQuitMessage(0);
                handled = TRUE;
            }
            return 0;
        case WM_TOOLBAR_SHAPE_SELECTED: EnableUndo(wParam != 0); return 0;
        case WM_TOOLBAR_SELECT_TOOL: ShowTool(static_cast<TOOL_BAR_BTN_TYPE>(wParam)); return 0;
        case WM_TOOLBAR_DESELECT: Deselect(static_cast<TOOL_BAR_BTN_TYPE>(wParam)); return 0;
        case WM_MOUSEHOVER:
            // Showing the button's tooltip can put the overlay above the toolbar (Wine does), and
            // the next click would land on the overlay: once the tooltip is up, come back on top.
            PostMessage(WM_TOOLBAR_RAISE);
            return 0;
        case WM_TOOLBAR_RAISE:
            SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            return 0;
        default: return 0;
    }
}

CControlUI* CRectangularSelectorToolBar::CreateControl(LPCTSTR pstrClass) {
    // The layout builder owns what it is given.
    const std::wstring name = pstrClass ? pstrClass : L"";
    if (name == L"ShapeControl") return new CShapeControlUI;
    if (name == L"ColorBlockControl") return new CColorBlockControlUI;
    if (name == L"ShapeExampleControl") return new CShapeExampleControlUI;
    return nullptr;
}

COptionUI* CRectangularSelectorToolBar::FindOption(TOOL_BAR_BTN_TYPE value) {
    const std::wstring name = ToolbarButtonName(value);
    if (name.empty()) return nullptr;
    CControlUI* control = m_pm.FindControl(name.c_str());
    return control ? static_cast<COptionUI*>(control->GetInterface(L"Option")) : nullptr;
}

void CRectangularSelectorToolBar::ShowTool(TOOL_BAR_BTN_TYPE tool) {
    if (tools_.Select(tool)) {
        if (COptionUI* option = FindOption(tool)) option->Selected(true, true);
        ShowAttributeBarFor(tool);
    }
    attributes_.Load(tool);
}

void CRectangularSelectorToolBar::Deselect(TOOL_BAR_BTN_TYPE value) {
    if (COptionUI* option = FindOption(value)) option->Selected(false, true);
}

void CRectangularSelectorToolBar::EnableUndo(bool enable) {
    if (CControlUI* undo = m_pm.FindControl(L"undo_btn")) undo->SetEnabled(enable);
}

void CRectangularSelectorToolBar::ShowAttributeBarFor(TOOL_BAR_BTN_TYPE value) {
    attributes_.ShowFor(value, FindOption(value));
}
