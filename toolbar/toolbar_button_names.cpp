#include "toolbar/toolbar_button_names.h"

#include <map>

namespace {

using Btn = TOOL_BAR_BTN_TYPE;

const std::map<std::wstring, Btn>& NameToValue() {
    static const std::map<std::wstring, Btn> table = {
        {L"rectangle_btn", Btn::kRectangle}, {L"circle_btn", Btn::kEllipse},
        {L"arrow_btn", Btn::kArrow},         {L"line_btn", Btn::kLine},
        {L"pencil_btn", Btn::kFreehand},     {L"mosaic_btn", Btn::kMosaic},
        {L"text_btn", Btn::kText},           {L"pic_show_top_btn", Btn::kPin},
        {L"clipboard_btn", Btn::kClipboard}, {L"undo_btn", Btn::kDelete},
        {L"save_btn", Btn::kSave},           {L"cancel_btn", Btn::kCancel},
        {L"ok_btn", Btn::kOk},
    };
    return table;
}

// The same pairs keyed by value, so a value finds its name without searching names.
const std::map<Btn, std::wstring>& ValueToName() {
    static const std::map<Btn, std::wstring> table = [] {
        std::map<Btn, std::wstring> byValue;
        for (const auto& pair : NameToValue()) byValue.emplace(pair.second, pair.first);
        return byValue;
    }();
    return table;
}

}  // namespace

TOOL_BAR_BTN_TYPE ToolbarButtonValue(const std::wstring& name) {
    const auto found = NameToValue().find(name);
    return found == NameToValue().end() ? Btn::kNone : found->second;
}

std::wstring ToolbarButtonName(TOOL_BAR_BTN_TYPE value) {
    const auto found = ValueToName().find(value);
    return found == ValueToName().end() ? std::wstring() : found->second;
}

std::wstring LowerAsciiName(std::wstring name) {
    for (wchar_t& c : name) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return name;
}
