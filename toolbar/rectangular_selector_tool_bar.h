// CRectangularSelectorToolBar: the capture toolbar window beside a finished selection. Its
// buttons choose an annotation tool, delete the selected shape or finish the capture; each
// press goes to the button callback (the capture's toolbar handler) before the toolbar changes
// its own state. It runs on the capture thread, owned by the overlay window.
#pragma once

#include <functional>

#include "annotation/toolbar_button.h"
#include "toolbar/toolbar_tool_state.h"
#include "ui_toolkit/UIlib.h"

class CRectangularSelectorToolBar : public DuiLib::WindowImplBase {
public:
    using ButtonCallback = std::function<void(TOOL_BAR_BTN_TYPE)>;

    CRectangularSelectorToolBar() = default;
    ~CRectangularSelectorToolBar() override;

    void SetButtonCallback(ButtonCallback callback) { callback_ = std::move(callback); }
    TOOL_BAR_BTN_TYPE CurrentTool() const { return tools_.Current(); }

    // Destroys the window without ending the capture's message loop (used once the capture
    // has ended by other means).
    void Dismiss();

    LPCTSTR GetWindowClassName() const override { return L"RectangularSelectorToolBar"; }
    DuiLib::CDuiString GetSkinFile() override { return L"rectangular_selector_tool_bar.xml"; }
    void InitWindow() override;
    void OnClick(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;

private:
    DuiLib::COptionUI* FindOption(TOOL_BAR_BTN_TYPE value);
    // Shows the tool as selected (the shape logic asks for it when the user picks a shape).
    void SelectTool(TOOL_BAR_BTN_TYPE tool);
    void Deselect(TOOL_BAR_BTN_TYPE value);
    void EnableUndo(bool enable);
    // Shows or hides the attribute bar, and the pointer under its button, for the value. The
    // bar's pages are not built yet, so for every value it is hidden.
    void ShowAttributeBarFor(TOOL_BAR_BTN_TYPE value);

    ButtonCallback callback_;
    ToolbarToolState tools_;
    bool dismissing_ = false;
};
