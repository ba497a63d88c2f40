// A new file's write on a real disk: its temporary file never takes the place of a file that is
// already there, as another writer's in a folder shared between machines.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "base/file_io.h"
#include "base/folder_path.h"
#include "test_folder.h"

namespace {

// The words the writer draws for its temporary names, in turn.
std::vector<uint64_t> g_words;
size_t g_nextWord = 0;
uint64_t NextWord() { return g_words[g_nextWord++ % g_words.size()]; }

}  // namespace

TEST(WriteNewFile, NeverTruncatesAFileUnderTheTemporaryNameItDraws) {
    TestFolder folder;
    const std::wstring path = folder.File(L"0001_picture.png");
    const std::wstring theirs = TemporaryFileBeside(path, 0x1111);
    WriteBytes(theirs, "another writer's picture, half written");
    // The first name drawn is taken: the next one is used, and the other file stays whole.
    g_words = {0x1111, 0x2222};
    g_nextWord = 0;
    EXPECT_EQ(WriteNewFileAtomically(path, "ours", NextWord), NewFileResult::kWritten);
    EXPECT_EQ(ReadBytes(path), "ours");
    EXPECT_EQ(ReadBytes(theirs), "another writer's picture, half written");
    EXPECT_FALSE(FileExists(TemporaryFileBeside(path, 0x2222)));
    // Every name drawn is taken: the write fails and leaves the other file and no picture.
    const std::wstring second = folder.File(L"0002_picture.png");
    const std::wstring held = TemporaryFileBeside(second, 0x3333);
    WriteBytes(held, "held");
    g_words = {0x3333};
    g_nextWord = 0;
    EXPECT_EQ(WriteNewFileAtomically(second, "ours", NextWord), NewFileResult::kFailed);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(ReadBytes(held), "held");
    EXPECT_FALSE(FileExists(second));
    EXPECT_GT(g_nextWord, 1u) << "a taken name is tried again with a new word";
    // The program's own names differ from write to write.
    EXPECT_NE(RandomNameWord(), RandomNameWord());
}
