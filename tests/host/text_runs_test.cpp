// Splitting text into ordinary runs and single characters outside the BMP, in UTF-16 (surrogate
// pairs) and, where wchar_t has 32 bits, as whole characters.
#include <gtest/gtest.h>

#include "ui_toolkit/text_runs.h"

using DuiLib::HasSupplementaryCharacters;
using DuiLib::SplitTextRuns;
using DuiLib::TextRun;

TEST(TextRuns, SurrogatePairsBecomeTheirOwnRuns) {
    const std::wstring hint{0xD83D, 0xDCA1, L' ', L'E', L'S', L'C', L' ', L'(', L'3', L')'};
    EXPECT_EQ(SplitTextRuns(hint), (std::vector<TextRun>{{0, 2, true}, {2, 8, false}}));
    EXPECT_TRUE(HasSupplementaryCharacters(hint));
    const std::wstring twoInARow{L'a', 0xD83D, 0xDCA1, 0xD83D, 0xDE00, L'b'};
    EXPECT_EQ(SplitTextRuns(twoInARow),
              (std::vector<TextRun>{{0, 1, false}, {1, 2, true}, {3, 2, true}, {5, 1, false}}));
    const std::wstring atTheEnd{L'x', 0xD83D, 0xDCA1};
    EXPECT_EQ(SplitTextRuns(atTheEnd), (std::vector<TextRun>{{0, 1, false}, {1, 2, true}}));
}

TEST(TextRuns, OrdinaryTextAndLoneSurrogatesStayInOneRun) {
    EXPECT_TRUE(SplitTextRuns(L"").empty());
    EXPECT_EQ(SplitTextRuns(L"\x5DE6\x952E \x00B7 ESC"), (std::vector<TextRun>{{0, 8, false}}));
    EXPECT_FALSE(HasSupplementaryCharacters(L"\x5DE6\x952E \x00B7 ESC"));
    // A high surrogate without its partner, a low one alone, and a pair in the wrong order.
    const std::wstring broken{L'a', 0xD83D, L'b', 0xDCA1, 0xDCA1, 0xD83D};
    EXPECT_EQ(SplitTextRuns(broken), (std::vector<TextRun>{{0, 6, false}}));
    EXPECT_FALSE(HasSupplementaryCharacters(broken));
}

TEST(TextRuns, WholeCharactersWhereWcharHasThirtyTwoBits) {
    if (sizeof(wchar_t) < 4) GTEST_SKIP() << "UTF-16 wchar_t";
    std::wstring text = L"a";
    text.push_back(static_cast<wchar_t>(0x1F4A1));
    text += L"bc";
    EXPECT_EQ(SplitTextRuns(text), (std::vector<TextRun>{{0, 1, false}, {1, 1, true}, {2, 2, false}}));
}
