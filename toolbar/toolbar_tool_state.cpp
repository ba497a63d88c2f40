#include "toolbar/toolbar_tool_state.h"

ToolbarToolState::ClickOutcome ToolbarToolState::Click(TOOL_BAR_BTN_TYPE value) {
    ClickOutcome outcome;
    const int number = static_cast<int>(value);
    if (number < 1 || number > 13 || value == TOOL_BAR_BTN_TYPE::kDelete) return outcome;
    outcome.changesToolbar = true;
    if (value == current_) {
        outcome.deselect = true;
        current_ = TOOL_BAR_BTN_TYPE::kNone;
    } else {
        current_ = IsAnnotationTool(value) ? value : TOOL_BAR_BTN_TYPE::kNone;
    }
    return outcome;
}

bool ToolbarToolState::Select(TOOL_BAR_BTN_TYPE tool) {
    if (tool == current_) return false;
    current_ = tool;
    return true;
}
