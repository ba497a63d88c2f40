// Folder paths shortened in the middle for the settings window, measured with a stand-in font:
// a CJK character two units wide, any other one unit.
#include <gtest/gtest.h>

#include "windows/compact_path.h"

namespace {

int Units(const std::wstring& text) {
    int units = 0;
    for (wchar_t c : text) units += c >= 0x2E80 && c < 0xD800 ? 2 : 1;
    return units;
}

const std::wstring kPath = L"C:\\Users\\someone\\Pictures\\screenshot_pic";  // 40 units

}  // namespace

TEST(CompactPath, APathThatFitsStaysWhole) {
    EXPECT_EQ(CompactPath(kPath, 40, Units), kPath);
    EXPECT_EQ(CompactPath(L"", 0, Units), L"");
}

TEST(CompactPath, TheMiddleGoesAndTheLastFolderStays) {
    EXPECT_EQ(CompactPath(kPath, 39, Units), L"C:\\Users\\someone\\Pict...\\screenshot_pic");
    EXPECT_EQ(CompactPath(kPath, 30, Units), L"C:\\Users\\som...\\screenshot_pic");
    EXPECT_EQ(CompactPath(kPath, 18, Units), L"...\\screenshot_pic");
    // Each result is the longest of its form that fits.
    for (int width = 18; width < 40; ++width) {
        const std::wstring shown = CompactPath(kPath, width, Units);
        EXPECT_EQ(Units(shown), width) << width;
        EXPECT_EQ(shown.substr(shown.size() - 18), L"...\\screenshot_pic") << width;
    }
    // A share and forward slashes, and a trailing separator kept with the last name.
    EXPECT_EQ(CompactPath(L"\\\\server\\share\\a\\pictures", 20, Units), L"\\\\server...\\pictures");
    EXPECT_EQ(CompactPath(L"D:/one/two/three/", 14, Units), L"D:/o...\\three/");
}

TEST(CompactPath, ALastNameTooWideIsCutAtItsEnd) {
    EXPECT_EQ(CompactPath(kPath, 17, Units), L"screenshot_pi...");
    EXPECT_EQ(CompactPath(L"screenshot_pic", 8, Units), L"scree...");
    EXPECT_EQ(CompactPath(kPath, 3, Units), L"...");
    EXPECT_EQ(CompactPath(kPath, 0, Units), L"...") << "nothing fits: the dots alone";
}

TEST(CompactPath, WideCharactersAreMeasuredAndPairsAreNeverSplit) {
    const std::wstring chinese = L"D:\\\x56FE\x7247\\\x622A\x56FE";  // D:\图片\截图, 12 units
    EXPECT_EQ(CompactPath(chinese, 11, Units), L"D:\\...\\\x622A\x56FE");
    const std::wstring pair = L"D:\\\xD83D\xDCA1" L"abcdef\\lastname";  // a light bulb in the middle
    EXPECT_EQ(CompactPath(pair, 16, Units), L"D:\\...\\lastname");
    EXPECT_EQ(CompactPath(L"x\xD800\xDC00yzw", 5, Units), L"x...");  // U+10000, the first pair
}
