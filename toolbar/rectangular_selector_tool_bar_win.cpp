#include "toolbar/rectangular_selector_tool_bar.h"

#include "base/app_messages.h"
#include "annotation/shape_config.h"
#include "toolbar/attribute_values.h"
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
        OnColorChosen(msg.pSender);
        return;
    }
    // The callback may end the capture; it sees the press before the toolbar changes.
    if (callback_) callback_(value);
    if (value == TOOL_BAR_BTN_TYPE::kDelete) return;
    ShowAttributeBarFor(value);
    LoadAttributeControls(value);
    const ToolbarToolState::ClickOutcome outcome = tools_.Click(value);
    if (outcome.deselect) PostMessage(WM_TOOLBAR_DESELECT, static_cast<WPARAM>(value));
}

void CRectangularSelectorToolBar::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_ITEMSELECT) OnItemSelect(msg);
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
        case WM_TOOLBAR_SELECT_TOOL: SelectTool(static_cast<TOOL_BAR_BTN_TYPE>(wParam)); return 0;
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

void CRectangularSelectorToolBar::SelectTool(TOOL_BAR_BTN_TYPE tool) {
    if (tools_.Select(tool)) {
        if (COptionUI* option = FindOption(tool)) option->Selected(true, true);
        if (hooks_.setActiveTool) hooks_.setActiveTool(tool);
        ShowAttributeBarFor(tool);
    }
    LoadAttributeControls(tool);
}

void CRectangularSelectorToolBar::Deselect(TOOL_BAR_BTN_TYPE value) {
    if (COptionUI* option = FindOption(value)) option->Selected(false, true);
}

void CRectangularSelectorToolBar::EnableUndo(bool enable) {
    if (CControlUI* undo = m_pm.FindControl(L"undo_btn")) undo->SetEnabled(enable);
}

void CRectangularSelectorToolBar::ShowAttributeBarFor(TOOL_BAR_BTN_TYPE value) {
    const int tool = static_cast<int>(value);
    CControlUI* bar = m_pm.FindControl(L"attribute_bar");
    CControlUI* left = m_pm.FindControl(L"toolbar_left");
    CControlUI* right = m_pm.FindControl(L"toolbar_right");
    const wchar_t* pageName = AttributePageName(tool);
    CControlUI* pageControl = pageName ? m_pm.FindControl(pageName) : nullptr;
    auto* page = pageControl ? static_cast<CContainerUI*>(pageControl->GetInterface(L"Container")) : nullptr;
    const bool hide = !bar || !left || !right || !page || (shownPage_ && value == shownType_);
    if (hide) {
        if (bar) bar->SetVisible(false);
        if (shownPage_) shownPage_->SetVisible(false);
        shownPage_ = nullptr;
        shownType_ = TOOL_BAR_BTN_TYPE::kNone;
    } else {
        if (value != TOOL_BAR_BTN_TYPE::kText) page->SetFixedWidth(NormalPageWidth(tool));
        for (const wchar_t* name : {L"line_style_combo", L"line_style_vertical_line"}) {
            if (CControlUI* control = page->FindSubControl(name)) control->SetVisible(ShowsLineStyle(tool));
        }
        bar->SetFixedWidth(left->GetFixedWidth() + page->GetFixedWidth() + right->GetFixedWidth());
        if (shownPage_ && shownPage_ != page) shownPage_->SetVisible(false);
        page->SetVisible(true);
        bar->SetVisible(true);
        shownPage_ = page;
        shownType_ = value;
    }
    PlaceTriangle();
}

void CRectangularSelectorToolBar::PlaceTriangle() {
    CControlUI* triangle = m_pm.FindControl(L"triangle");
    if (!triangle) return;
    COptionUI* button = FindOption(shownType_);
    triangle->SetVisible(button != nullptr);
    // The pointer's left edge lines up with the button's.
    if (button) triangle->SetPadding(RECT{button->GetPos().left, 0, 0, 0});
}

CControlUI* CRectangularSelectorToolBar::FindInPage(const wchar_t* name) const {
    // Both pages hold controls of the same names: look only inside the shown one.
    return shownPage_ ? shownPage_->FindSubControl(name) : nullptr;
}

CComboUI* CRectangularSelectorToolBar::FindComboInPage(const wchar_t* name) const {
    CControlUI* control = FindInPage(name);
    return control ? static_cast<CComboUI*>(control->GetInterface(L"Combo")) : nullptr;
}

namespace {

// Chooses a combo entry without a notification (loading must not write the value back); an
// image-only combo shows the chosen entry's image on its face.
void ShowEntry(CComboUI* combo, int index) {
    if (!combo || !combo->GetEntry(index)) return;
    combo->SelectItem(index, false, false);
    const std::wstring image = combo->GetEntry(index)->GetBkImage();
    if (!image.empty()) combo->SetBkImage(image.c_str());
}

// The first entry whose text is the given one; -1 when none is.
int EntryWithText(CComboUI* combo, const std::wstring& text) {
    for (int i = 0; combo && combo->GetEntry(i); ++i) {
        if (text == combo->GetEntry(i)->GetText().Str()) return i;
    }
    return -1;
}

}  // namespace

void CRectangularSelectorToolBar::LoadAttributeControls(TOOL_BAR_BTN_TYPE tool) {
    if (!AttributePageName(static_cast<int>(tool))) return;
    const ShapeConfig& config = ShapeConfigRegistry::Instance().Find(static_cast<int>(tool));
    if (!shownPage_) return;
    ShowEntry(FindComboInPage(L"line_width_combo"), LineWidthEntry(config.lineWidth));
    ShowEntry(FindComboInPage(L"line_style_combo"), LineStyleEntry(config.lineStyle));
    for (int n = 1; n <= 10; ++n) {
        CControlUI* control = FindInPage((L"normal_clr_" + std::to_wstring(n)).c_str());
        auto* option = control ? static_cast<COptionUI*>(control->GetInterface(L"Option")) : nullptr;
        const wchar_t* value = option ? option->GetCustomAttribute(L"clr_value") : nullptr;
        if (value && ParseColorText(value) == config.color) {
            option->Selected(true, true);
            break;
        }
    }
    if (const auto* text = dynamic_cast<const TextConfig*>(&config)) {
        CComboUI* names = FindComboInPage(L"font_name_combo");
        CComboUI* sizes = FindComboInPage(L"font_size_combo");
        ShowEntry(names, EntryWithText(names, text->fontName));
        ShowEntry(sizes, EntryWithText(sizes, std::to_wstring(text->fontSize)));
    }
}

void CRectangularSelectorToolBar::OnItemSelect(TNotifyUI& msg) {
    auto* combo = msg.pSender ? static_cast<CComboUI*>(msg.pSender->GetInterface(L"Combo")) : nullptr;
    const int index = static_cast<int>(msg.wParam);
    CListLabelElementUI* entry = combo ? combo->GetEntry(index) : nullptr;
    if (!entry) return;
    const std::wstring name = combo->GetName().Str();
    const int tool = static_cast<int>(tools_.Current());
    bool changed = false;
    if (name == L"line_width_combo" || name == L"line_style_combo") {
        combo->SetBkImage(entry->GetBkImage());  // the closed combo shows the choice
        const bool width = name == L"line_width_combo";
        changed = WriteAttribute(ShapeConfigRegistry::Instance(), tool,
                                 width ? AttributeKind::kLineWidth : AttributeKind::kLineStyle,
                                 std::to_wstring(width ? index + 1 : index));
    } else if (name == L"font_name_combo" || name == L"font_size_combo") {
        changed = WriteAttribute(ShapeConfigRegistry::Instance(), tool,
                                 name == L"font_name_combo" ? AttributeKind::kFontName : AttributeKind::kFontSize,
                                 entry->GetText().Str());
    }
    if (changed) ConfigChanged();
}

void CRectangularSelectorToolBar::OnColorChosen(CControlUI* sender) {
    const wchar_t* value = sender->GetCustomAttribute(L"clr_value");
    const int tool = static_cast<int>(tools_.Current());
    if (!value || tool == 0) return;  // without a tool only the chosen option changes
    if (WriteAttribute(ShapeConfigRegistry::Instance(), tool, AttributeKind::kColor, value)) ConfigChanged();
}

void CRectangularSelectorToolBar::ConfigChanged() {
    if (hooks_.configChanged) hooks_.configChanged();
}
