// The capture toolbar's pure parts: the button name tables, the tool a click leaves active, and
// what each finishing button does.
#include <gtest/gtest.h>

#include "capture/toolbar_actions.h"
#include "telemetry/usage_events.h"
#include "toolbar/toolbar_button_names.h"
#include "toolbar/toolbar_tool_state.h"

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

TEST(ToolbarToolState, SecondClickOnTheActiveToolLeavesNoTool) {
    ToolbarToolState state;
    EXPECT_EQ(state.Current(), Btn::kNone);
    auto first = state.Click(Btn::kRectangle);
    EXPECT_TRUE(first.changesToolbar);
    EXPECT_FALSE(first.deselect);
    EXPECT_EQ(state.Current(), Btn::kRectangle);
    auto second = state.Click(Btn::kRectangle);
    EXPECT_TRUE(second.deselect);
    EXPECT_EQ(state.Current(), Btn::kNone);
    // Another tool replaces the active one without a deselect.
    state.Click(Btn::kRectangle);
    auto other = state.Click(Btn::kEllipse);
    EXPECT_FALSE(other.deselect);
    EXPECT_EQ(state.Current(), Btn::kEllipse);
    state.Click(Btn::kMosaic);
    EXPECT_EQ(state.Current(), Btn::kMosaic);
}

TEST(ToolbarToolState, ActionsLeaveNoToolAndUndoChangesNothing) {
    for (Btn action : {Btn::kPin, Btn::kClipboard, Btn::kSave, Btn::kCancel, Btn::kOk}) {
        ToolbarToolState state;
        state.Click(Btn::kText);
        const auto outcome = state.Click(action);
        EXPECT_TRUE(outcome.changesToolbar);
        EXPECT_FALSE(outcome.deselect);
        EXPECT_EQ(state.Current(), Btn::kNone) << static_cast<int>(action);
    }
    ToolbarToolState state;
    state.Click(Btn::kArrow);
    EXPECT_FALSE(state.Click(Btn::kDelete).changesToolbar);
    EXPECT_FALSE(state.Click(Btn::kNone).changesToolbar);
    EXPECT_FALSE(state.Click(static_cast<Btn>(14)).changesToolbar);
    EXPECT_EQ(state.Current(), Btn::kArrow);
}

TEST(ToolbarToolState, SelectingTheCurrentToolChangesNothing) {
    ToolbarToolState state;
    EXPECT_TRUE(state.Select(Btn::kLine));
    EXPECT_EQ(state.Current(), Btn::kLine);
    EXPECT_FALSE(state.Select(Btn::kLine));
    EXPECT_EQ(state.Current(), Btn::kLine);
    EXPECT_TRUE(state.Select(Btn::kNone));
    EXPECT_EQ(state.Current(), Btn::kNone);
}

TEST(FinishingActions, EventsOutputsAndResults) {
    struct Expected {
        Btn value;
        int event;
        bool summary, save, copy;
        int result;
    };
    const Expected table[] = {
        {Btn::kPin, kEventToolbarBtnShowPicTop, true, true, false, 8},
        {Btn::kClipboard, kEventToolbarBtnCopyToClipboard, true, false, true, 9},
        {Btn::kSave, kEventToolbarBtnSaveToFile, true, true, false, 11},
        {Btn::kCancel, kEventToolbarBtnClose, false, false, false, 0},
        {Btn::kOk, kEventToolbarBtnOk, true, true, true, 13},
    };
    for (const Expected& e : table) {
        const capture::FinishingAction* action = capture::FinishingActionFor(e.value);
        ASSERT_NE(action, nullptr) << static_cast<int>(e.value);
        EXPECT_EQ(action->event, e.event);
        EXPECT_EQ(action->withSummary, e.summary);
        EXPECT_EQ(action->save, e.save);
        EXPECT_EQ(action->copy, e.copy);
        EXPECT_EQ(action->result, e.result);
    }
    for (int value : {0, 1, 2, 3, 4, 5, 6, 7, 10, 14}) {
        EXPECT_EQ(capture::FinishingActionFor(static_cast<Btn>(value)), nullptr) << value;
    }
}

}  // namespace
