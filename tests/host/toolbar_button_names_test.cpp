// The capture toolbar's button name tables: every button's name and value, both ways.
#include <gtest/gtest.h>

#include "toolbar/toolbar_button_names.h"

namespace {

using Btn = TOOL_BAR_BTN_TYPE;

TEST(ToolbarNames, EveryButtonRoundTripsAndOthersAreNone) {
    const wchar_t* const names[] = {L"rectangle_btn", L"circle_btn",       L"arrow_btn",     L"line_btn",
                                    L"pencil_btn",    L"mosaic_btn",       L"text_btn",      L"pic_show_top_btn",
                                    L"clipboard_btn", L"undo_btn",         L"save_btn",      L"cancel_btn",
                                    L"ok_btn"};
    for (int value = 1; value <= 13; ++value) {
        const std::wstring name = names[value - 1];
        EXPECT_EQ(ToolbarButtonValue(name), static_cast<Btn>(value)) << value;
        EXPECT_EQ(ToolbarButtonName(static_cast<Btn>(value)), name) << value;
    }
    // Not buttons of the tables: the hidden light pen, colours, other controls, nothing.
    for (const wchar_t* other : {L"light_pen_btn", L"normal_clr_1", L"triangle", L"", L"Rectangle_btn"}) {
        EXPECT_EQ(ToolbarButtonValue(other), Btn::kNone) << testing::PrintToString(std::wstring(other));
    }
    EXPECT_EQ(ToolbarButtonName(Btn::kNone), L"");
    EXPECT_EQ(ToolbarButtonName(static_cast<Btn>(14)), L"");
    EXPECT_EQ(ToolbarButtonName(static_cast<Btn>(-1)), L"");
}

TEST(ToolbarNames, MixedCaseNamesAreLoweredBeforeTheLookup) {
    EXPECT_EQ(LowerAsciiName(L"Rectangle_BTN"), L"rectangle_btn");
    EXPECT_EQ(ToolbarButtonValue(LowerAsciiName(L"OK_Btn")), Btn::kOk);
    EXPECT_EQ(LowerAsciiName(L"pic_show_top_btn_1"), L"pic_show_top_btn_1");  // digits and _ kept
}

}  // namespace
