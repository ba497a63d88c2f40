// CAttributeBar: the capture toolbar's attribute bar, the second row under the buttons. It shows
// the page of the chosen tool (line width, line style and colours, or the text's font, size and
// colours) with a pointer under the tool's button, loads the page from the tool's look and
// writes each choice back into the look at once. It works on the toolbar window's controls, on
// the registry it is given (the one the capture's shapes use).
#pragma once

#include <functional>

#include "annotation/shape_config.h"
#include "annotation/toolbar_button.h"
#include "toolbar/attribute_values.h"
#include "ui_toolkit/UIlib.h"

class CAttributeBar {
public:
    explicit CAttributeBar(DuiLib::CPaintManagerUI& pm) : pm_(pm) {}

    // The looks to load and edit, and what to call after a choice changed one. Without a
    // registry the bar only shows and hides.
    void SetLooks(ShapeConfigRegistry* registry, std::function<void()> changed) {
        registry_ = registry;
        changed_ = std::move(changed);
    }

    // Shows, switches or hides the bar for the value, with the pointer under button: the same
    // tool again hides it; the mosaic and the actions have none.
    void ShowFor(TOOL_BAR_BTN_TYPE value, DuiLib::CControlUI* button);
    // Sets the shown page's controls from the look of the tool.
    void Load(TOOL_BAR_BTN_TYPE tool);
    // A width, style, font or size chosen in a combo of the shown page, for the tool.
    void OnItemSelect(const DuiLib::TNotifyUI& msg, TOOL_BAR_BTN_TYPE tool);
    // A click on a palette colour, for the tool (none: only the option changes).
    void OnColorChosen(DuiLib::CControlUI* sender, TOOL_BAR_BTN_TYPE tool);

private:
    DuiLib::CControlUI* FindInPage(const wchar_t* name) const;
    DuiLib::CComboUI* FindComboInPage(const wchar_t* name) const;
    void Write(TOOL_BAR_BTN_TYPE tool, AttributeKind kind, const std::wstring& value);

    DuiLib::CPaintManagerUI& pm_;
    ShapeConfigRegistry* registry_ = nullptr;
    std::function<void()> changed_;
    // The page shown, and the value it was shown for (none when the bar is hidden).
    DuiLib::CContainerUI* shownPage_ = nullptr;
    TOOL_BAR_BTN_TYPE shownType_ = TOOL_BAR_BTN_TYPE::kNone;
};
