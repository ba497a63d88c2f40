// The dialogs' computed texts: the feedback character count and the about window's build date.
#include <gtest/gtest.h>

#include "windows/dialog_text.h"

TEST(DialogText, FeedbackCountIsTheLengthOutOfTwoHundred) {
    EXPECT_EQ(FeedbackCountText(0), L"0/200");
    EXPECT_EQ(FeedbackCountText(17), L"17/200");
    EXPECT_EQ(FeedbackCountText(kFeedbackMaxChars), L"200/200");
}

TEST(DialogText, BuildDateIsZeroPaddedYearMonthDay) {
    EXPECT_EQ(BuildDateText(2026, 12, 7), L"2026-12-07");
    EXPECT_EQ(BuildDateText(2025, 1, 31), L"2025-01-31");
    EXPECT_EQ(BuildDateText(999, 10, 10), L"0999-10-10");
}
