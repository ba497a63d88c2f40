#include <gtest/gtest.h>

#include "base/folder_path.h"
#include "settings/pic_folder_rule.h"

TEST(FolderPath, ComparesWithoutCaseOrTrailingSeparators) {
    EXPECT_EQ(JoinPath(L"C:\\Users\\a", L"x"), L"C:\\Users\\a\\x");
    EXPECT_EQ(JoinPath(L"C:\\", L"x"), L"C:\\x");
    EXPECT_EQ(JoinPath(L"", L"x"), L"x");
    EXPECT_TRUE(SameFolder(L"C:\\Users\\A\\Temp\\", L"c:\\users\\a\\temp"));
    EXPECT_TRUE(SameFolder(L"C:/Users/a", L"C:\\Users\\a\\\\"));
    EXPECT_FALSE(SameFolder(L"C:\\Users\\a", L"C:\\Users\\ab"));
    EXPECT_FALSE(SameFolder(L"", L""));
    EXPECT_FALSE(SameFolder(L"\\", L"\\"));  // nothing left once the separator goes
    // Only ASCII letters fold: other letters must be spelt alike.
    EXPECT_FALSE(SameFolder(L"C:\\\x00C9t\x00E9", L"C:\\\x00E9t\x00E9"));
}

TEST(FolderPath, InsideMeansTheFolderOrBelowIt) {
    EXPECT_TRUE(IsInsideFolder(L"C:\\Users\\a\\Pictures", L"c:\\users\\a\\pictures\\"));
    EXPECT_TRUE(IsInsideFolder(L"C:\\Users\\a\\Pictures\\shots\\2026", L"C:\\Users\\a\\Pictures"));
    EXPECT_FALSE(IsInsideFolder(L"C:\\Users\\a\\Pictures2\\shots", L"C:\\Users\\a\\Pictures"));
    EXPECT_FALSE(IsInsideFolder(L"C:\\Users\\a", L"C:\\Users\\a\\Pictures"));
    EXPECT_FALSE(IsInsideFolder(L"C:\\x", L""));
}

TEST(PicFolderRule, OnlyTheOldTemporaryDefaultIsDropped) {
    const std::wstring temp = L"C:\\Users\\a\\AppData\\Local\\Temp";
    EXPECT_TRUE(IsOldDefaultFolder(L"C:\\Users\\a\\AppData\\Local\\Temp\\screenshot_pic", temp));
    EXPECT_TRUE(IsOldDefaultFolder(L"c:\\users\\A\\appdata\\local\\temp\\SCREENSHOT_PIC\\", temp + L"\\"));
    EXPECT_FALSE(IsOldDefaultFolder(L"C:\\Users\\a\\AppData\\Local\\Temp\\screenshot_pic\\mine", temp));
    EXPECT_FALSE(IsOldDefaultFolder(L"\\screenshot_pic", L""));
    EXPECT_EQ(ChosenFolderFromStored(temp + L"\\screenshot_pic\\", temp), L"");
    EXPECT_EQ(ChosenFolderFromStored(L"", temp), L"");
    // A folder the user chose stays as it was written, Pictures' default place included.
    EXPECT_EQ(ChosenFolderFromStored(L"D:\\Shots\\", temp), L"D:\\Shots\\");
    EXPECT_EQ(ChosenFolderFromStored(L"C:\\Users\\a\\Pictures\\screenshot_pic", temp),
              L"C:\\Users\\a\\Pictures\\screenshot_pic");
}

TEST(PicFolderRule, TheDefaultIsPicturesWhileItCanBeWritten) {
    const DefaultPicPlaces places{L"C:\\Users\\a\\Pictures", L"C:\\Temp\\"};
    EXPECT_EQ(DefaultPicFolder(places, true), L"C:\\Users\\a\\Pictures\\screenshot_pic");
    EXPECT_EQ(DefaultPicFolder(places, false), L"C:\\Temp\\screenshot_pic");
    EXPECT_EQ(DefaultPicFolder(DefaultPicPlaces{L"", L"C:\\Temp"}, true), L"C:\\Temp\\screenshot_pic");
    EXPECT_EQ(DefaultPicFolder(DefaultPicPlaces{}, true), L"");
}

TEST(PicFolderRule, LeavingTheShownDefaultInTheSettingsStoresNone) {
    const DefaultPicPlaces places{L"C:\\Users\\a\\Pictures", L"C:\\Temp"};
    EXPECT_EQ(ChosenFolderToStore(L"C:\\Users\\a\\Pictures\\screenshot_pic", places), L"");
    EXPECT_EQ(ChosenFolderToStore(L"c:\\temp\\screenshot_pic\\", places), L"");
    EXPECT_EQ(ChosenFolderToStore(L"", places), L"");
    EXPECT_EQ(ChosenFolderToStore(L"C:\\Users\\a\\Pictures", places), L"C:\\Users\\a\\Pictures");
    EXPECT_EQ(ChosenFolderToStore(L"D:\\screenshot_pic", places), L"D:\\screenshot_pic");
}
