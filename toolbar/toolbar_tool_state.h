// Which tool the capture toolbar shows as active, and what a click or a "show this tool" request
// does to it. The capture's annotations own the active tool; a click changes both by the same
// rule (ToggledTool), and a picked shape's tool comes from them. Pure code; the toolbar window
// applies the answers to its controls.
#pragma once

#include "annotation/toolbar_button.h"

class ToolbarToolState {
public:
    // What a click on a button asks of the toolbar window.
    struct ClickOutcome {
        bool changesToolbar = false;  // false for undo and for values without a button
        bool deselect = false;        // a second click on the active tool: deselect its button
    };

    // A click on the button with this value; the current tool becomes the clicked tool, or
    // none for an action or a second click on the active tool.
    ClickOutcome Click(TOOL_BAR_BTN_TYPE value);

    // Shows tool as the active one; false (nothing to change) when it already is.
    bool Select(TOOL_BAR_BTN_TYPE tool);

    TOOL_BAR_BTN_TYPE Current() const { return current_; }

private:
    TOOL_BAR_BTN_TYPE current_ = TOOL_BAR_BTN_TYPE::kNone;
};
