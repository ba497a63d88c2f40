#include "app/dump_retention.h"

#include <gtest/gtest.h>

TEST(DumpRetention, KnowsOnlyTheNamesTheCrashFilterGives) {
    for (const wchar_t* ours : {L"crash_dump.dmp", L"CRASH_DUMP.DMP", L"crash_dump_20261207_235959.dmp"}) {
        EXPECT_TRUE(IsOwnDumpName(ours)) << testing::PrintToString(std::wstring(ours));
    }
    for (const wchar_t* theirs : {L"crash_dump.txt", L"crash_dumps.dmp", L"crash_dump_2026127_235959.dmp",
                                  L"crash_dump_20261207-235959.dmp", L"crash_dump_2026120a_235959.dmp",
                                  L"other_crash_dump.dmp", L"crash_dump_20261207_235959.dmp.bak", L"crash_dump",
                                  L"trash_dump.dmp"}) {
        EXPECT_FALSE(IsOwnDumpName(theirs)) << testing::PrintToString(std::wstring(theirs));
    }
}

TEST(DumpRetention, NeedsAGibibyteFreeUnlessANumberOfBytesIsSet) {
    EXPECT_EQ(DumpMinFreeBytes(L""), 1073741824u);
    EXPECT_EQ(DumpMinFreeBytes(L"1048576"), 1048576u);
    EXPECT_EQ(DumpMinFreeBytes(L"9999999999999999999"), 9999999999999999999u);
    for (const wchar_t* unclear : {L"-1", L"12abc", L" 5", L"99999999999999999999"}) {
        EXPECT_EQ(DumpMinFreeBytes(unclear), 1073741824u) << testing::PrintToString(std::wstring(unclear));
    }
}

TEST(DumpRetention, DeletesAllButTheNewestOfOursByWriteTime) {
    // The names' time stamps disagree with the write times: the write time decides.
    const std::vector<DumpFile> files = {
        {L"crash_dump_20200101_000000.dmp", 50}, {L"crash_dump.dmp", 10},
        {L"crash_dump_20260101_000000.dmp", 20}, {L"app.dmp", 1},
        {L"crash_dump_20250101_000000.dmp", 40}, {L"crash_dump_20240101_000000.dmp", 30},
    };
    std::vector<std::wstring> deleted = DumpsToDelete(files, 3);
    std::sort(deleted.begin(), deleted.end());
    EXPECT_EQ(deleted, (std::vector<std::wstring>{L"crash_dump.dmp", L"crash_dump_20260101_000000.dmp"}));
    EXPECT_TRUE(DumpsToDelete(files, 5).empty());
    EXPECT_EQ(DumpsToDelete({{L"crash_dump.dmp", 7}, {L"crash_dump_20260101_000000.dmp", 7}}, 1),
              std::vector<std::wstring>{L"crash_dump.dmp"});
}
