#include <gtest/gtest.h>

#include <ctime>
#include <regex>
#include <string>

#include "base/command_line_argument.h"
#include "base/timestamped_name.h"
#include "base/exe_directory.h"
#include "base/folder_path.h"
#include "capture/picture_name.h"

TEST(QuotedPathArgument, KeepsCommasAndSpacesInOneArgument) {
    EXPECT_EQ(QuotedPathArgument(L"C:\\Pictures\\a, b"), L"\"C:\\Pictures\\a, b\"");
    EXPECT_EQ(QuotedPathArgument(L"C:\\pics\\"), L"\"C:\\pics\"");  // a backslash would escape the quote
    EXPECT_EQ(QuotedPathArgument(L"C:\\"), L"\"C:\\.\"");
    EXPECT_EQ(QuotedPathArgument(L"\\\\server\\share\\"), L"\"\\\\server\\share\"");
}

TEST(ParentFolderOf, CutsAtTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(ParentFolderOf(L"C:\\Program Files\\Screenshot\\Screenshot.exe"),
              L"C:\\Program Files\\Screenshot");
    EXPECT_EQ(ParentFolderOf(L"C:/tools/x.exe"), L"C:/tools");
    EXPECT_EQ(ParentFolderOf(L"C:\\a/b\\c.exe"), L"C:\\a/b");
    EXPECT_EQ(ParentFolderOf(L"C:\\x.exe"), L"C:");
    EXPECT_EQ(ParentFolderOf(L"\\x.exe"), L"");
    EXPECT_EQ(ParentFolderOf(L"x.exe"), L"");
    EXPECT_EQ(ParentFolderOf(L""), L"");
}

TEST(TemporaryFileBeside, NamedByEveryDigitOfTheRandomWord) {
    EXPECT_EQ(TemporaryFileBeside(L"C:\\p\\0001_x.png", 0x0123456789ABCDEFull),
              L"C:\\p\\0001_x.png.0123456789abcdef.tmp");
    EXPECT_EQ(TemporaryFileBeside(L"a.bmp", 0xF), L"a.bmp.000000000000000f.tmp");
    EXPECT_EQ(TemporaryFileBeside(L"a.bmp", 0xFEDCBA9876543210ull), L"a.bmp.fedcba9876543210.tmp");
}

namespace {

std::tm LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

}  // namespace

TEST(TimestampedName, FormatsLocalTimeWithZeroPadding) {
    EXPECT_EQ(FormatTimestampedName(L"crash_dump", L"dmp", LocalTime(2024, 1, 31, 23, 59, 59)),
              L"crash_dump_20240131_235959.dmp");
    EXPECT_EQ(FormatTimestampedName(L"\x622A\x56FE", L"png", LocalTime(2025, 3, 4, 5, 6, 7)),
              L"\x622A\x56FE_20250304_050607.png");
}

TEST(TimestampedName, UsesTheCurrentTime) {
    const std::time_t before = std::time(nullptr);
    const std::wstring name = MakeTimestampedName(L"crash_dump", L"dmp");
    const std::time_t after = std::time(nullptr);
    ASSERT_TRUE(std::regex_match(name, std::wregex(L"crash_dump_\\d{8}_\\d{6}\\.dmp"))) << name.size();
    std::tm lo{}, hi{};
#ifdef _WIN32
    localtime_s(&lo, &before);
    localtime_s(&hi, &after);
#else
    localtime_r(&before, &lo);
    localtime_r(&after, &hi);
#endif
    const std::wstring first = FormatTimestampedName(L"crash_dump", L"dmp", lo);
    const std::wstring last = FormatTimestampedName(L"crash_dump", L"dmp", hi);
    EXPECT_TRUE(name == first || name == last);
}

TEST(PictureNumber, OnePastTheLargestLeadingNumber) {
    EXPECT_EQ(NextPictureNumber({}), 1);
    EXPECT_EQ(NextPictureNumber({L"0007_20240101_101010.png", L"notes.txt"}), 8);
    EXPECT_EQ(NextPictureNumber({L"12_x.bmp", L"0099_y.png"}), 100);
    EXPECT_EQ(NextPictureNumber({L"abc_1.png", L"_5.png", L"1a_2.png", L"-3_x.png", L"7"}), 1);
    EXPECT_EQ(NextPictureNumber({L"9999_x.png"}), 10000);
    EXPECT_EQ(NextPictureNumber({L"0005_a_b_c", L"4_"}), 6);  // a folder counts like a file
    // Numbers past the int range do not count: a foreign time stamp leaves the numbering alone.
    EXPECT_EQ(NextPictureNumber({L"99999999999_a.png", L"0003_b.png"}), 4);
    EXPECT_EQ(NextPictureNumber({L"1706700000000_x.png", L"0041_y.png"}), 42);
    EXPECT_EQ(NextPictureNumber({L"2147483648_20240101_101010.png"}), 1);
    EXPECT_EQ(NextPictureNumber({L"4294967296_a.png", L"2147483649_b.png"}), 1);
    EXPECT_EQ(NextPictureNumber({L"9999999999_x.png"}), 1);
    // The largest int is a number like any other; the next one does not wrap.
    EXPECT_EQ(NextPictureNumber({L"2147483647_x.png"}), 2147483648LL);
    EXPECT_EQ(NextPictureNumber({L"2147483647_a.png", L"2147483648_b.png", L"0003_c.png"}), 2147483648LL);
    // Leading zeros do not make a number long.
    EXPECT_EQ(NextPictureNumber({L"0000000000000000000000012_x.png"}), 13);
    // However long a run of digits, it cannot overflow.
    EXPECT_EQ(NextPictureNumber({L"99999999999999999999999999999_x.png", L"0004_y.png"}), 5);
    EXPECT_EQ(NextPictureNumber({L"18446744073709551617_x.png"}), 1);
}

TEST(PictureNumber, NameLayout) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 31;
    t.tm_hour = 23;
    t.tm_min = 59;
    t.tm_sec = 5;
    EXPECT_EQ(FormatPictureName(L"C:\\pics", 1, t, L"png"), L"C:\\pics\\0001_20240131_235905.png");
    EXPECT_EQ(FormatPictureName(L"D:\\a b", 42, t, L"bmp"), L"D:\\a b\\0042_20240131_235905.bmp");
    EXPECT_EQ(FormatPictureName(L"x", 10000, t, L"png"), L"x\\10000_20240131_235905.png");
}
