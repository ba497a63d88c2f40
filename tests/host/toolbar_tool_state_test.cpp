// The tool the capture toolbar shows after clicks and "show this tool" requests.
#include <gtest/gtest.h>

#include "toolbar/toolbar_tool_state.h"

namespace {

using Btn = TOOL_BAR_BTN_TYPE;

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

}  // namespace
