#include "toolbar/toolbar_tool_state.h"

ToolbarToolState::ClickOutcome ToolbarToolState::Click(TOOL_BAR_BTN_TYPE value) {
    ClickOutcome outcome;
    const int number = static_cast<int>(value);
    if (number < 1 || number > 13 || value == TOOL_BAR_BTN_TYPE::kDelete) return outcome;
    outcome.changesToolbar = true;
    outcome.deselect = value == current_;
    current_ = ToggledTool(current_, value);
    return outcome;
}

bool ToolbarToolState::Select(TOOL_BAR_BTN_TYPE tool) {
    if (tool == current_) return false;
    current_ = tool;
    return true;
}
