// CRectangularSelectorToolBar: the capture toolbar window beside a finished selection. Its
// buttons choose an annotation tool, delete the selected shape or finish the capture; each
// press goes to the button callback (the capture's toolbar handler) before the toolbar changes
// what it shows. The capture's annotations own the active tool; the toolbar shows it, and the
// tool of a picked shape arrives as WM_TOOLBAR_SELECT_TOOL. Its attribute bar (CAttributeBar)
// edits the looks it is given. It runs on the capture thread, owned by the overlay window.
#pragma once

#include <functional>

#include "annotation/toolbar_button.h"
#include "toolbar/attribute_bar_win.h"
#include "toolbar/toolbar_tool_state.h"
#include "ui_toolkit/UIlib.h"

class CRectangularSelectorToolBar : public DuiLib::WindowImplBase {
public:
    using ButtonCallback = std::function<void(TOOL_BAR_BTN_TYPE)>;

    CRectangularSelectorToolBar() : attributes_(m_pm) {}
    ~CRectangularSelectorToolBar() override;

    void SetButtonCallback(ButtonCallback callback) { callback_ = std::move(callback); }
    // The looks the attribute bar loads and edits (the registry the capture's shapes use), and
    // what to call after it changed one (the selected shape takes it and is repainted).
    void SetLooks(ShapeConfigRegistry& registry, std::function<void()> changed) {
        attributes_.SetLooks(&registry, std::move(changed));
    }
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
    // Shows the tool as selected, with its attribute page (the user picked a shape of it).
    void ShowTool(TOOL_BAR_BTN_TYPE tool);
    void Deselect(TOOL_BAR_BTN_TYPE value);
    void EnableUndo(bool enable);
    // The attribute bar for the value, its pointer under the value's button.
    void ShowAttributeBarFor(TOOL_BAR_BTN_TYPE value);

    ButtonCallback callback_;
    CAttributeBar attributes_;
    ToolbarToolState tools_;
    bool dismissing_ = false;
};
