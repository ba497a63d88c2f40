// The settings store on real files.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "base/folder_probe.h"
#include "base/unique_handle.h"
#include "settings/config.h"
#include "settings/default_pic_folder.h"
#include "base/exe_directory.h"
#include "base/utf_convert.h"
#include "test_folder.h"

namespace {

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, buffer);
    return std::wstring(buffer, length);
}

std::wstring PicturesFolder() {
    wchar_t buffer[MAX_PATH] = {0};
    SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, buffer);
    return buffer;
}

std::wstring DefaultFolder() { return PicturesFolder() + L"\\screenshot_pic"; }

std::string DefaultFileText() { return FormatConfigText("", true, false, PicSaveFormat::kPng, "PrintScreen"); }

void ExpectDefaults(const CConfig& config) {
    EXPECT_EQ(config.GetPicSavePath(), DefaultFolder());
    EXPECT_TRUE(config.GetHideMainWndWhenCapture());
    EXPECT_FALSE(config.GetRestoreMainWndAfterCapture());
    EXPECT_FALSE(config.GetFloatWndHiddenByCapture());
    EXPECT_EQ(config.GetPicSaveFormat(), PicSaveFormat::kPng);
    EXPECT_EQ(config.GetCaptureHotkey(), DefaultCaptureHotkey());
}

}  // namespace

TEST(Config, FirstStartWritesTheDefaultFile) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    CConfig config(path);
    // The file names no folder: the default is worked out at each save, and made then.
    EXPECT_EQ(config.GetChosenPicFolder(), L"");
    // Nothing to tell at a first start.
    EXPECT_FALSE(config.OldDefaultDropped());
    ExpectDefaults(config);
    const DWORD attributes = GetFileAttributesW(DefaultFolder().c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);

    const std::string text = ReadBytes(path);
    EXPECT_EQ(text, DefaultFileText());
    // Spelled out once: CR LF line ends, fixed member order, no BOM.
    EXPECT_EQ(text, "{\r\n"
                    "    \"hide_main_wnd_when_capture\": true,\r\n"
                    "    \"is_need_restore_main_wnd_after_capture\": false,\r\n"
                    "    \"pic_save_format\": \"PNG\",\r\n"
                    "    \"capture_hotkey\": \"PrintScreen\"\r\n}");
    EXPECT_FALSE(FileExists(path + L".tmp"));
}

TEST(Config, EmptyObjectKeepsDefaultsAndIsNotRewritten) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    WriteBytes(path, "{}");
    CConfig config(path);
    ExpectDefaults(config);
    EXPECT_TRUE(config.Load());
    EXPECT_EQ(ReadBytes(path), "{}");
}

TEST(Config, ReadsEveryMemberAndSavesThemBack) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    WriteBytes(path, "{\"pic_save_path\": \"D:\\\\\xE6\x88\xAA\xE5\x9B\xBE\\/x\", "
                     "\"hide_main_wnd_when_capture\": false, "
                     "\"is_need_restore_main_wnd_after_capture\": true, "
                     "\"pic_save_format\": \"BMP\", \"unknown\": [1, 2], \"capture_hotkey\": \"alt+ctrl+f5\"}");
    CConfig config(path);
    EXPECT_EQ(config.GetPicSavePath(), L"D:\\\x622A\x56FE/x");
    EXPECT_FALSE(config.GetHideMainWndWhenCapture());
    EXPECT_TRUE(config.GetRestoreMainWndAfterCapture());
    EXPECT_EQ(config.GetPicSaveFormat(), PicSaveFormat::kBmp);
    EXPECT_EQ(config.GetCaptureHotkey(), (Hotkey{kHotkeyCtrl | kHotkeyAlt, 0x74}));

    ASSERT_TRUE(config.Save());
    const std::string saved = ReadBytes(path);
    EXPECT_EQ(saved, FormatConfigText("D:\\\xE6\x88\xAA\xE5\x9B\xBE/x", false, true, PicSaveFormat::kBmp,
                                      "Ctrl+Alt+F5"));
    EXPECT_EQ(saved.find("unknown"), std::string::npos);  // other members are dropped

    config.SetPicSaveFormat(PicSaveFormat::kPng);
    config.SetPicSavePath(L"E:\\new");
    ASSERT_TRUE(config.Save());
    CConfig reread(path);
    EXPECT_EQ(reread.GetPicSavePath(), L"E:\\new");
    EXPECT_EQ(reread.GetPicSaveFormat(), PicSaveFormat::kPng);
    EXPECT_TRUE(reread.GetRestoreMainWndAfterCapture());
}

TEST(Config, LowerCasePngSelectsBmp) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    WriteBytes(path, "{\"pic_save_format\": \"png\"}");
    CConfig config(path);
    EXPECT_EQ(config.GetPicSaveFormat(), PicSaveFormat::kBmp);
    ASSERT_TRUE(config.Save());
    EXPECT_NE(ReadBytes(path).find("\"pic_save_format\": \"BMP\""), std::string::npos);
}

TEST(Config, MembersOfTheWrongKindAreIgnored) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    WriteBytes(path, "{\"hide_main_wnd_when_capture\": \"false\", "
                     "\"is_need_restore_main_wnd_after_capture\": \"true\", "
                     "\"pic_save_path\": 12, \"pic_save_format\": 1, \"capture_hotkey\": 44}");
    CConfig config(path);
    ExpectDefaults(config);
}

TEST(Config, AnEmptyHotkeyIsNoneAndAnUnreadableOneIsSavedAsTheDefault) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    WriteBytes(path, "{\"capture_hotkey\": \"\"}");
    EXPECT_TRUE(CConfig(path).GetCaptureHotkey().IsNone());
    WriteBytes(path, "{\"capture_hotkey\": \"Ctrl+Nothing\"}");
    CConfig config(path);
    EXPECT_EQ(config.GetCaptureHotkey(), DefaultCaptureHotkey());
    ASSERT_TRUE(config.Save());
    EXPECT_NE(ReadBytes(path).find("\"capture_hotkey\": \"PrintScreen\""), std::string::npos);
}

TEST(Config, AStoredHotkeyTheRulesRefuseIsKeptToTellUntilAChoiceIsStored) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    WriteBytes(path, "{\"capture_hotkey\": \"Ctrl+Shift+A\"}");
    EXPECT_FALSE(CConfig(path).RefusedHotkeyText());
    WriteBytes(path, "{\"capture_hotkey\": \"Shift+A\"}");
    CConfig config(path);
    EXPECT_EQ(config.GetCaptureHotkey(), DefaultCaptureHotkey());
    EXPECT_EQ(config.RefusedHotkeyText(), std::optional<std::string>("Shift+A"));
    ASSERT_TRUE(config.StoreChosen(L"", PicSaveFormat::kPng, true, DefaultCaptureHotkey()));
    EXPECT_FALSE(config.RefusedHotkeyText());
}

TEST(Config, ByteOrderMarkIsReadButNotWritten) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    WriteBytes(path, "\xEF\xBB\xBF{\"hide_main_wnd_when_capture\": false}");
    CConfig config(path);
    EXPECT_FALSE(config.GetHideMainWndWhenCapture());
    ASSERT_TRUE(config.Save());
    EXPECT_EQ(ReadBytes(path).substr(0, 1), "{");
}

TEST(Config, PathEndsAtAnEscapedNul) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    WriteBytes(path, "{\"pic_save_path\": \"C:\\\\pics\\u0000hidden\"}");
    CConfig config(path);
    EXPECT_EQ(config.GetPicSavePath(), L"C:\\pics");
}

TEST(Config, GarbageKeepsDefaultsAndTheFile) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    const std::string garbage("\x89PNG\r\n\x1A\n\0\xFF{\"hide_main_wnd_when_capture\": false}", 44);
    WriteBytes(path, garbage);
    CConfig config(path);
    ExpectDefaults(config);
    EXPECT_FALSE(config.Load());
    EXPECT_EQ(ReadBytes(path), garbage);

    WriteBytes(path, "[\"an array\"]");
    EXPECT_FALSE(config.Load());
    EXPECT_EQ(ReadBytes(path), "[\"an array\"]");
}

TEST(Config, ADamagedFileIsReplacedOnlyByChosenValuesAndKeptAsABackup) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    const std::string damaged = "{\"pic_save_path\": \"D:\\\\mine\" \"pic_save_format\": \"BMP\"}";
    WriteBytes(path, damaged);
    CConfig config(path);
    EXPECT_TRUE(config.FileDamaged());
    // Nothing else replaces it: a save of any member fails and leaves the file as it was.
    config.SetRestoreMainWndAfterCapture(true);
    EXPECT_FALSE(config.Save());
    EXPECT_EQ(ReadBytes(path), damaged);
    // The user's own choice does, and the damaged file stays beside it.
    ASSERT_TRUE(config.StoreChosen(L"E:\\chosen", PicSaveFormat::kBmp, false, Hotkey{}));
    EXPECT_EQ(ReadBytes(path + L".bak"), damaged);
    EXPECT_FALSE(config.FileDamaged());
    CConfig reread(path);
    EXPECT_EQ(reread.GetPicSavePath(), L"E:\\chosen");
    EXPECT_EQ(reread.GetPicSaveFormat(), PicSaveFormat::kBmp);
    EXPECT_TRUE(reread.GetCaptureHotkey().IsNone());
    EXPECT_TRUE(config.Save());  // and from now on it is saved as usual

    // Damaged again while an older backup exists: OK still stores, and the newest damaged file
    // is the one kept.
    const std::string again = "{\"pic_save_format\": \"PNG\",,}";
    WriteBytes(path, again);
    CConfig damagedAgain(path);
    ASSERT_TRUE(damagedAgain.FileDamaged());
    ASSERT_TRUE(damagedAgain.StoreChosen(L"F:\\again", PicSaveFormat::kPng, false, Hotkey{}));
    EXPECT_EQ(ReadBytes(path + L".bak"), again);
    EXPECT_EQ(CConfig(path).GetPicSavePath(), L"F:\\again");
}

TEST(Config, ChosenValuesThatCannotBeSavedAreNotKept) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    CConfig config(path);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string before = ReadBytes(path);
    EXPECT_FALSE(config.StoreChosen(L"E:\\chosen", PicSaveFormat::kBmp, false, Hotkey{kHotkeyAlt, 0x70}));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), before);
    ExpectDefaults(config);
}

TEST(Config, OversizedFileIsLeftAlone) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    std::string huge = "{\"hide_main_wnd_when_capture\": false, \"pad\": \"";
    huge += std::string(CConfig::kMaxFileBytes, 'x') + "\"}";
    WriteBytes(path, huge);
    CConfig config(path);
    EXPECT_TRUE(config.GetHideMainWndWhenCapture());
    EXPECT_EQ(ReadBytes(path).size(), huge.size());
}

TEST(Config, ReadOnlyFileIsReadAndNotReplaced) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    WriteBytes(path, "{\"hide_main_wnd_when_capture\": false}");
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    CConfig config(path);
    EXPECT_FALSE(config.GetHideMainWndWhenCapture());
    config.SetPicSaveFormat(PicSaveFormat::kBmp);
    EXPECT_FALSE(config.Save());
    EXPECT_EQ(ReadBytes(path), "{\"hide_main_wnd_when_capture\": false}");
    EXPECT_FALSE(FileExists(path + L".tmp"));
}

TEST(Config, FailedSaveLeavesTheOldFileIntact) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    CConfig config(path);
    const std::string before = ReadBytes(path);
    ASSERT_FALSE(before.empty());
    // A folder where the temporary file would go makes the write fail before anything is replaced.
    ASSERT_TRUE(CreateDirectoryW((path + L".tmp").c_str(), nullptr));
    config.SetHideMainWndWhenCapture(false);
    EXPECT_FALSE(config.Save());
    EXPECT_EQ(ReadBytes(path), before);
    RemoveDirectoryW((path + L".tmp").c_str());
    EXPECT_TRUE(config.Save());
    EXPECT_NE(ReadBytes(path), before);
}

TEST(Config, FileThatCannotBeOpenedIsNotOverwritten) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    WriteBytes(path, "{\"pic_save_format\": \"BMP\"}");
    // A save writes its temporary file beside the settings file first. Wine, unlike Windows,
    // refuses to replace any file that is held open, so a save tried while the file is locked
    // would fail unseen; the marker in the temporary file's place shows whether one was tried.
    const std::wstring temporary = path + L".tmp";
    WriteBytes(temporary, "marker");
    {
        // Held open without sharing, as another program might.
        UniqueHandle lock(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock.Valid());
        CConfig config(path);
        EXPECT_EQ(config.GetPicSaveFormat(), PicSaveFormat::kPng);
        EXPECT_FALSE(config.Load());
    }
    EXPECT_EQ(ReadBytes(path), "{\"pic_save_format\": \"BMP\"}");
    EXPECT_EQ(ReadBytes(temporary), "marker");
}

TEST(Config, MissingFolderGivesDefaultsAndAFailedSave) {
    TestFolder folder;
    const std::wstring path = folder.File(L"no such folder\\config.json");
    CConfig config(path);
    ExpectDefaults(config);
    EXPECT_FALSE(config.Save());
    EXPECT_FALSE(FileExists(path));
}

TEST(Config, FolderWithoutWriteAccess) {
    // Under Wine the tests run as root, for whom every ordinary folder is writable; the proc file
    // system refuses new files even to root. On Windows the system folder does for a normal user.
    std::wstring folder;
    if (RunningUnderWine()) {
        folder = L"Z:\\proc";
    } else {
        wchar_t system[MAX_PATH];
        GetSystemDirectoryW(system, MAX_PATH);
        folder = system;
    }
    const std::wstring path = folder + L"\\config.json";
    if (FileExists(path)) GTEST_SKIP() << "a config.json already exists there";
    CConfig config(path);
    ExpectDefaults(config);
    EXPECT_FALSE(config.Save());
    EXPECT_FALSE(FileExists(path));
}

TEST(Config, SettingsInAFolderWithChineseName) {
    TestFolder folder;
    const std::wstring sub = folder.File(L"\x622A\x56FE\x5DE5\x5177");
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    const std::wstring path = sub + L"\\config.json";
    {
        CConfig config(path);
        config.SetHideMainWndWhenCapture(false);
        ASSERT_TRUE(config.Save());
    }
    CConfig reread(path);
    EXPECT_FALSE(reread.GetHideMainWndWhenCapture());
}

TEST(Config, ConcurrentChangesAndSavesKeepTheFileWhole) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    CConfig config(path);
    std::atomic<bool> failed{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 60; ++i) {
                CConfig::Guard guard(config);
                config.SetPicSavePath(L"C:\\pics\\" + std::to_wstring(t) + L"_" + std::to_wstring(i));
                config.SetPicSaveFormat(i % 2 ? PicSaveFormat::kBmp : PicSaveFormat::kPng);
                if (!config.Save()) failed = true;
            }
        });
    }
    threads.emplace_back([&] {
        for (int i = 0; i < 60; ++i) config.Load();
    });
    for (auto& thread : threads) thread.join();
    EXPECT_FALSE(failed);
    // The file is whole and agrees with memory.
    CConfig reread(path);
    EXPECT_EQ(reread.GetPicSavePath(), config.GetPicSavePath());
    EXPECT_EQ(reread.GetPicSaveFormat(), config.GetPicSaveFormat());
}

TEST(Config, InstanceLivesBesideTheProgram) {
    const std::wstring expected = GetExeDirectory() + L"\\config.json";
    const bool existed = FileExists(expected);
    CConfig& config = CConfig::Instance();
    EXPECT_EQ(&config, &CConfig::Instance());
    EXPECT_EQ(config.GetSettingsFilePath(), expected);
    EXPECT_TRUE(FileExists(expected));
    if (!existed) DeleteFileW(expected.c_str());
}

TEST(Config, WithoutTheProgramFolderNothingIsReadOrWritten) {
    // The program's folder could not be found: no settings file at all, rather than a relative
    // "\config.json" at the root of whatever drive is current.
    EXPECT_EQ(SettingsFileIn(L""), L"");
    EXPECT_EQ(SettingsFileIn(L"C:\\tool"), L"C:\\tool\\config.json");
    TestFolder folder;
    wchar_t previous[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
    const bool rootHadFile = FileExists(L"\\config.json");
    {
        CConfig config(SettingsFileIn(L""));
        ExpectDefaults(config);
        EXPECT_FALSE(config.Load());
        config.SetPicSaveFormat(PicSaveFormat::kBmp);
        EXPECT_FALSE(config.Save());
        EXPECT_EQ(config.GetPicSaveFormat(), PicSaveFormat::kBmp);  // kept in memory
    }
    EXPECT_FALSE(FileExists(folder.File(L"config.json")));
    EXPECT_EQ(FileExists(L"\\config.json"), rootHadFile);
    SetCurrentDirectoryW(previous);
}

// With the default folder in Pictures moved aside for the test and put back afterwards.
class DefaultFolderTest : public testing::Test {
protected:
    void SetUp() override { movedAside_ = MoveFileW(DefaultFolder().c_str(), Aside().c_str()) != 0; }
    void TearDown() override {
        const std::wstring folder = DefaultFolder();
        DeleteFileW(folder.c_str());
        RemoveDirectoryW(folder.c_str());
        if (movedAside_) MoveFileW(Aside().c_str(), folder.c_str());
    }
    static std::wstring Aside() { return DefaultFolder() + L".test_aside"; }

private:
    bool movedAside_ = false;
};

TEST_F(DefaultFolderTest, AStoredFolderIsKeptAndMakesNoFolderInPictures) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    const std::string mine = "{\"pic_save_path\": \"C:\\\\mine\"}";
    WriteBytes(path, mine);
    CConfig config(path);
    EXPECT_EQ(config.GetPicSavePath(), L"C:\\mine");
    EXPECT_EQ(GetFileAttributesW(DefaultFolder().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadBytes(path), mine);
}

TEST_F(DefaultFolderTest, AFileWhereTheFolderWouldBeFallsBackToTheTemporaryFolder) {
    WriteBytes(DefaultFolder(), "not a folder");
    EXPECT_EQ(DefaultPicSaveFolder(), TempFolder() + L"screenshot_pic");
}

TEST(Config, TheOldTemporaryDefaultIsDroppedOnceAndItsPicturesStay) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    const std::wstring old = TempFolder() + L"SCREENSHOT_PIC\\";
    ASSERT_TRUE(CreateDirectoryW(old.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring earlier = old + L"0001_earlier.png";
    WriteBytes(earlier, "picture");
    WriteBytes(path, FormatConfigText(WideToUtf8(old), true, false, PicSaveFormat::kBmp, "PrintScreen"));
    {
        CConfig config(path);
        EXPECT_TRUE(config.OldDefaultDropped());
        EXPECT_EQ(config.GetChosenPicFolder(), L"");
        EXPECT_EQ(config.GetPicSavePath(), DefaultFolder());
    }
    EXPECT_EQ(ReadBytes(path), FormatConfigText("", true, false, PicSaveFormat::kBmp, "PrintScreen"));
    EXPECT_EQ(ReadBytes(earlier), "picture");
    EXPECT_FALSE(CConfig(path).OldDefaultDropped());  // told once
    DeleteFileW(earlier.c_str());

    // Any other folder is the user's and stays, even one inside the old default.
    const std::string mine = FormatConfigText(WideToUtf8(old + L"mine"), true, false, PicSaveFormat::kPng, "F2");
    WriteBytes(path, mine);
    CConfig config(path);
    EXPECT_FALSE(config.OldDefaultDropped());
    EXPECT_EQ(config.GetChosenPicFolder(), old + L"mine");
    EXPECT_EQ(ReadBytes(path), mine);
}

TEST(Config, LeavingTheShownDefaultInTheSettingsKeepsTheDefault) {
    TestFolder folder;
    const std::wstring path = folder.File(L"config.json");
    CConfig config(path);
    ASSERT_TRUE(config.StoreChosen(config.GetPicSavePath(), PicSaveFormat::kBmp, true, DefaultCaptureHotkey()));
    EXPECT_EQ(config.GetChosenPicFolder(), L"");
    EXPECT_EQ(ReadBytes(path), FormatConfigText("", true, false, PicSaveFormat::kBmp, "PrintScreen"));
    ASSERT_TRUE(config.StoreChosen(folder.Path(), PicSaveFormat::kBmp, true, DefaultCaptureHotkey()));
    EXPECT_EQ(CConfig(path).GetChosenPicFolder(), folder.Path());
}

TEST(ConfigFolder, AProbeMakesAFileAndLeavesNothing) {
    TestFolder folder;
    EXPECT_TRUE(CanCreateFilesIn(folder.Path()));
    EXPECT_TRUE(CanCreateFilesIn(folder.Path() + L"\\"));
    WIN32_FIND_DATAW entry;
    UniqueFindHandle find(FindFirstFileW((folder.Path() + L"\\*.tmp").c_str(), &entry));
    EXPECT_FALSE(find.Valid());
    EXPECT_FALSE(CanCreateFilesIn(folder.File(L"missing")));
    EXPECT_FALSE(CanCreateFilesIn(L""));
    // The program's own folder, where the tests run, can be written: settings stay beside it.
    EXPECT_TRUE(ExeDirectoryWritable());
    EXPECT_EQ(SettingsFolder(), GetExeDirectory());
}
