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

    // What the toolbar asks of the capture's shapes: show a picked shape's tool as the active
    // one, and let the selected shape take the look the attribute bar changed (and repaint it).
    struct ShapeHooks {
        std::function<void(TOOL_BAR_BTN_TYPE)> setActiveTool;
        std::function<void()> configChanged;
    };

    void SetButtonCallback(ButtonCallback callback) { callback_ = std::move(callback); }
    void SetShapeHooks(ShapeHooks hooks) { hooks_ = std::move(hooks); }
    TOOL_BAR_BTN_TYPE CurrentTool() const { return tools_.Current(); }

    // Destroys the window without ending the capture's message loop (used once the capture
    // has ended by other means).
    void Dismiss();

    LPCTSTR GetWindowClassName() const override { return L"RectangularSelectorToolBar"; }
    DuiLib::CDuiString GetSkinFile() override { return L"rectangular_selector_tool_bar.xml"; }
    void InitWindow() override;
    void OnClick(DuiLib::TNotifyUI& msg) override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;
    // The toolbar's own layout elements: "ShapeControl", "ColorBlockControl" and
    // "ShapeExampleControl" (exact names); null leaves any other to the toolkit.
    DuiLib::CControlUI* CreateControl(LPCTSTR pstrClass) override;

private:
    DuiLib::COptionUI* FindOption(TOOL_BAR_BTN_TYPE value);
    // Shows the tool as selected (the shape logic asks for it when the user picks a shape).
    void SelectTool(TOOL_BAR_BTN_TYPE tool);
    void Deselect(TOOL_BAR_BTN_TYPE value);
    void EnableUndo(bool enable);
    // Shows, switches or hides the attribute bar for the value, and the pointer under its
    // button: the same tool again hides it; the mosaic and the actions have none.
    void ShowAttributeBarFor(TOOL_BAR_BTN_TYPE value);
    void PlaceTriangle();
    // Sets the shown page's controls from the configuration of the tool.
    void LoadAttributeControls(TOOL_BAR_BTN_TYPE tool);
    // A width, style, font or size chosen in a combo of the shown page.
    void OnItemSelect(DuiLib::TNotifyUI& msg);
    // A click on a palette colour.
    void OnColorChosen(DuiLib::CControlUI* sender);
    DuiLib::CControlUI* FindInPage(const wchar_t* name) const;
    DuiLib::CComboUI* FindComboInPage(const wchar_t* name) const;
    void ConfigChanged();

    ButtonCallback callback_;
    ShapeHooks hooks_;
    // The attribute page shown, and the value it was shown for (0 when the bar is hidden).
    DuiLib::CContainerUI* shownPage_ = nullptr;
    TOOL_BAR_BTN_TYPE shownType_ = TOOL_BAR_BTN_TYPE::kNone;
    ToolbarToolState tools_;
    bool dismissing_ = false;
};
