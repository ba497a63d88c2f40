// The toolbar's button names and values: the layout names its buttons, the code works with
// TOOL_BAR_BTN_TYPE values. Both tables are built once, on first use, and kept for the process.
#pragma once

#include <string>

#include "annotation/toolbar_button.h"

// The value of a button name (names are lower case; the caller lowers what it reads); kNone
// for a name that is not a toolbar button.
TOOL_BAR_BTN_TYPE ToolbarButtonValue(const std::wstring& name);

// The name of a button value; empty for kNone and for values without a button.
std::wstring ToolbarButtonName(TOOL_BAR_BTN_TYPE value);

// Lower-cases ASCII letters, as the layout's names are ASCII.
std::wstring LowerAsciiName(std::wstring name);
