#include <gtest/gtest.h>

#include "base/utf_convert.h"

TEST(UtfConvert, RoundTripsChineseAndSupplementaryCharacters) {
    const std::wstring wide = L"C:\\\x622A\x56FE \xD83D\xDE00/x";
    const std::string utf8 = WideToUtf8(wide);
    EXPECT_EQ(utf8, "C:\\\xE6\x88\xAA\xE5\x9B\xBE \xF0\x9F\x98\x80/x");
    EXPECT_EQ(Utf8ToWide(utf8), wide);
}

TEST(UtfConvert, EmptyInEmptyOut) {
    EXPECT_EQ(WideToUtf8(L""), "");
    EXPECT_EQ(Utf8ToWide(""), L"");
}

TEST(UtfConvert, EmbeddedNulIsKept) {
    const std::wstring wide(L"a\0b", 3);
    EXPECT_EQ(WideToUtf8(wide), std::string("a\0b", 3));
    EXPECT_EQ(Utf8ToWide(std::string("a\0b", 3)), wide);
}

TEST(UtfConvert, MalformedUtf8StillGivesText) {
    const std::wstring wide = Utf8ToWide("ok\xFF");
    ASSERT_GE(wide.size(), 3u);
    EXPECT_EQ(wide.substr(0, 2), L"ok");
}
