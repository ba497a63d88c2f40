#include "toolbar/attribute_bar_win.h"

using namespace DuiLib;

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

void CAttributeBar::ShowFor(TOOL_BAR_BTN_TYPE value, CControlUI* button) {
    const int tool = static_cast<int>(value);
    CControlUI* bar = pm_.FindControl(L"attribute_bar");
    CControlUI* left = pm_.FindControl(L"toolbar_left");
    CControlUI* right = pm_.FindControl(L"toolbar_right");
    const wchar_t* pageName = AttributePageName(tool);
    CControlUI* pageControl = pageName ? pm_.FindControl(pageName) : nullptr;
    auto* page = pageControl ? static_cast<CContainerUI*>(pageControl->GetInterface(L"Container")) : nullptr;
    const bool hide = !bar || !left || !right || !page || (shownPage_ && value == shownType_);
    if (hide) {
        if (bar) bar->SetVisible(false);
        if (shownPage_) shownPage_->SetVisible(false);
        shownPage_ = nullptr;
        shownType_ = TOOL_BAR_BTN_TYPE::kNone;
        button = nullptr;
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
    if (CControlUI* triangle = pm_.FindControl(L"triangle")) {
        triangle->SetVisible(button != nullptr);
        // The pointer's left edge lines up with the button's.
        if (button) triangle->SetPadding(RECT{button->GetPos().left, 0, 0, 0});
    }
}

CControlUI* CAttributeBar::FindInPage(const wchar_t* name) const {
    // Both pages hold controls of the same names: look only inside the shown one.
    return shownPage_ ? shownPage_->FindSubControl(name) : nullptr;
}

CComboUI* CAttributeBar::FindComboInPage(const wchar_t* name) const {
    CControlUI* control = FindInPage(name);
    return control ? static_cast<CComboUI*>(control->GetInterface(L"Combo")) : nullptr;
}

void CAttributeBar::Load(TOOL_BAR_BTN_TYPE tool) {
    if (!registry_ || !AttributePageName(static_cast<int>(tool))) return;
    const ShapeConfig& config = registry_->Find(static_cast<int>(tool));
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

void CAttributeBar::OnItemSelect(const TNotifyUI& msg, TOOL_BAR_BTN_TYPE tool) {
    auto* combo = msg.pSender ? static_cast<CComboUI*>(msg.pSender->GetInterface(L"Combo")) : nullptr;
    const int index = static_cast<int>(msg.wParam);
    CListLabelElementUI* entry = combo ? combo->GetEntry(index) : nullptr;
    if (!entry) return;
    const std::wstring name = combo->GetName().Str();
    if (name == L"line_width_combo" || name == L"line_style_combo") {
        combo->SetBkImage(entry->GetBkImage());  // the closed combo shows the choice
        const bool width = name == L"line_width_combo";
        Write(tool, width ? AttributeKind::kLineWidth : AttributeKind::kLineStyle,
              std::to_wstring(width ? index + 1 : index));
    } else if (name == L"font_name_combo" || name == L"font_size_combo") {
        Write(tool, name == L"font_name_combo" ? AttributeKind::kFontName : AttributeKind::kFontSize,
              entry->GetText().Str());
    }
}

void CAttributeBar::OnColorChosen(CControlUI* sender, TOOL_BAR_BTN_TYPE tool) {
    const wchar_t* value = sender->GetCustomAttribute(L"clr_value");
    if (value) Write(tool, AttributeKind::kColor, value);
}

void CAttributeBar::Write(TOOL_BAR_BTN_TYPE tool, AttributeKind kind, const std::wstring& value) {
    // Without a tool nothing is written (a colour click only changes the chosen option).
    if (!registry_ || tool == TOOL_BAR_BTN_TYPE::kNone) return;
    if (WriteAttribute(*registry_, static_cast<int>(tool), kind, value) && changed_) changed_();
}
