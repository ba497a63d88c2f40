// The capture toolbar's buttons, numbered as the toolbar reports them. The tools 1 to 7 are also
// the shape type numbers of the annotations.
#pragma once

enum class TOOL_BAR_BTN_TYPE : int {
    kNone = 0,
    kRectangle = 1,
    kEllipse = 2,
    kArrow = 3,
    kLine = 4,
    kFreehand = 5,
    kMosaic = 6,
    kText = 7,
    kPin = 8,
    kClipboard = 9,
    kDelete = 10,
    kSave = 11,
    kCancel = 12,
    kOk = 13,
};

// True for the seven annotation tools (rectangle to text).
constexpr bool IsAnnotationTool(TOOL_BAR_BTN_TYPE button) {
    return button >= TOOL_BAR_BTN_TYPE::kRectangle && button <= TOOL_BAR_BTN_TYPE::kText;
}

// The tool active after a press on button while current was: another tool replaces it, the
// active tool pressed again leaves none, and anything that is not a tool leaves none.
constexpr TOOL_BAR_BTN_TYPE ToggledTool(TOOL_BAR_BTN_TYPE current, TOOL_BAR_BTN_TYPE button) {
    return !IsAnnotationTool(button) || button == current ? TOOL_BAR_BTN_TYPE::kNone : button;
}
