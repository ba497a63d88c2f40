#include <gtest/gtest.h>

#include <ctime>
#include <regex>
#include <string>

#include "app/timestamped_name.h"
#include "settings/exe_directory.h"

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

TEST(TimestampedName, FormatsLocalTimeWithZeroPadding) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 31;
    t.tm_hour = 23;
    t.tm_min = 59;
    t.tm_sec = 59;
    EXPECT_EQ(FormatTimestampedName(L"crash_dump", L"dmp", t), L"crash_dump_20240131_235959.dmp");
    t.tm_year = 2025 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 4;
    t.tm_hour = 5;
    t.tm_min = 6;
    t.tm_sec = 7;
    EXPECT_EQ(FormatTimestampedName(L"\x622A\x56FE", L"png", t), L"\x622A\x56FE_20250304_050607.png");
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
