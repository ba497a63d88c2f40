// The crash filter: a process that faults leaves a minidump in its current folder, under
// "crash_dump.dmp" or, when that file cannot be written, under a time-stamped name, and says so
// in two lines on its standard output. The dump allows its user alone, the folder keeps the
// newest three of them, and a disk short of free space gets none.
#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "base/timestamped_name.h"
#include "base/unique_handle.h"
#include "base/utf8_codec.h"
#include "test_folder.h"

namespace {

std::wstring ProbePath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/")) + L"\\crash_probe.exe";
}

struct ProbeRun {
    DWORD exitCode = 0;
    std::string output;
};

// Which probe, how it faults ("overflow": its stack) and its temporary folder (when not empty).
struct ProbeOptions {
    std::wstring exe = ProbePath();
    std::wstring argument;
    std::wstring temp;
};

// The probe copied into program's folder, with temporary as its temporary folder; an empty exe
// when the copy failed.
ProbeOptions ProbeCopiedInto(const TestFolder& program, const TestFolder& temporary) {
    ProbeOptions options;
    options.exe = program.File(L"crash_probe.exe");
    options.temp = temporary.Path();
    if (!CopyFileW(ProbePath().c_str(), options.exe.c_str(), FALSE)) options.exe.clear();
    return options;
}

// Sets an environment variable for a scope (the probe inherits it).
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
        wchar_t old[MAX_PATH];
        const DWORD length = GetEnvironmentVariableW(name, old, MAX_PATH);
        had_ = length > 0 && length < MAX_PATH;
        if (had_) old_.assign(old, length);
        if (!value.empty()) SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedVariable() { SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }

private:
    const wchar_t* name_;
    std::wstring old_;
    bool had_ = false;
};

// Runs the faulting probe in folder with its standard output in a file (or the given handle);
// waits at most a minute.
ProbeRun RunProbe(const std::wstring& folder, const std::wstring& outputFile, const ProbeOptions& options = {},
                  HANDLE outputHandle = nullptr) {
    ProbeRun run;
    ScopedVariable tmp(L"TMP", options.temp), temp(L"TEMP", options.temp);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueHandle output(outputHandle ? nullptr
                                     : CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (outputHandle) output.Reset(outputHandle);
    EXPECT_TRUE(output.Valid());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.Get();
    startup.hStdError = output.Get();
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + options.exe + L"\" " + options.argument;
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, folder.c_str(),
                        &startup, &info)) {
        ADD_FAILURE() << "cannot start the probe, error " << GetLastError();
        return run;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    output.Reset();
    if (WaitForSingleObject(process.Get(), 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.Get(), 1);
        ADD_FAILURE() << "the probe did not end within a minute";
    }
    GetExitCodeProcess(process.Get(), &run.exitCode);
    if (!outputFile.empty()) run.output = ReadBytes(outputFile);
    return run;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileW(find.Get(), &data));
    return names;
}

void ExpectMinidump(const std::wstring& path) {
    const std::string bytes = ReadBytes(path);
    ASSERT_GT(bytes.size(), 32u) << testing::PrintToString(path);
    EXPECT_EQ(bytes.substr(0, 4), "MDMP");
}

const std::string kFirstLine = Utf16ToUtf8(L"程序发生未处理异常，正在生成 dump 文件...\r\n");

void ExpectBothLines(const ProbeRun& run) { EXPECT_EQ(run.output, kFirstLine + Utf16ToUtf8(L"Dump 文件已生成\r\n")); }

// Holds a file open with no sharing, so no other process can write it.
UniqueHandle Lock(const std::wstring& path) {
    return UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

TEST(CrashFilter, WritesCrashDumpInTheCurrentFolderAndEndsTheProcess) {
    TestFolder folder;
    TestFolder outputFolder;
    const ProbeRun run = RunProbe(folder.Path(), outputFolder.File(L"out.txt"));
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::wstring>{L"crash_dump.dmp"});
    ExpectMinidump(folder.File(L"crash_dump.dmp"));
    ExpectBothLines(run);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

TEST(CrashFilter, KeepsAReadOnlyDumpAndWritesBesideItUnderATimestampedName) {
    TestFolder folder;
    TestFolder outputFolder;
    const std::wstring earlier = folder.File(L"crash_dump.dmp");
    WriteBytes(earlier, "an earlier crash");
    ASSERT_TRUE(SetFileAttributesW(earlier.c_str(), FILE_ATTRIBUTE_READONLY));
    ProbeRun run;
    {
        // Also held open for reading, as a viewer would: Wine running as root lets a read-only
        // file be overwritten, a file shared for reading only it does not.
        UniqueHandle viewer(CreateFileW(earlier.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(viewer.Valid());
        run = RunProbe(folder.Path(), outputFolder.File(L"out.txt"));
    }
    SetFileAttributesW(earlier.c_str(), FILE_ATTRIBUTE_NORMAL);  // so the folder can be removed
    const std::string kept = ReadBytes(earlier);
    EXPECT_TRUE(kept == "an earlier crash") << "overwritten: " << kept.size() << " bytes starting "
                                            << testing::PrintToString(kept.substr(0, 4));
    std::vector<std::wstring> dumps;
    for (const std::wstring& name : FilesIn(folder.Path())) {
        if (name != L"crash_dump.dmp") dumps.push_back(name);
    }
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_TRUE(std::regex_match(Utf16ToUtf8(dumps[0]), std::regex(R"(crash_dump_20\d{6}_\d{6}\.dmp)")))
        << testing::PrintToString(dumps[0]);
    ExpectMinidump(folder.File(dumps[0]));
    ExpectBothLines(run);
}

// Holds the plain dump name and every time-stamped name of the next minute in folder open.
std::vector<UniqueHandle> LockEveryDumpName(const std::wstring& folder) {
    std::vector<UniqueHandle> locks;
    locks.push_back(Lock(folder + L"\\crash_dump.dmp"));
    const std::time_t now = std::time(nullptr);
    for (int second = 0; second < 60; ++second) {
        const std::time_t at = now + second;
        std::tm local{};
        localtime_s(&local, &at);
        locks.push_back(Lock(folder + L"\\" + FormatTimestampedName(L"crash_dump", L"dmp", local)));
    }
    for (const UniqueHandle& lock : locks) EXPECT_TRUE(lock.Valid());
    return locks;
}

TEST(CrashFilter, FallsBackToTheProgramFolderThenTheTemporaryOneAndOnlyThenToTheSystem) {
    TestFolder current, program, temporary, outputFolder;
    const ProbeOptions options = ProbeCopiedInto(program, temporary);
    ASSERT_FALSE(options.exe.empty());
    // The current folder cannot be written: the program's folder takes the dump.
    std::vector<UniqueHandle> locks = LockEveryDumpName(current.Path());
    ProbeRun run = RunProbe(current.Path(), outputFolder.File(L"out.txt"), options);
    ExpectMinidump(program.File(L"crash_dump.dmp"));
    ExpectBothLines(run);
    // Nor can the program's: the temporary folder.
    for (UniqueHandle& lock : LockEveryDumpName(program.Path())) locks.push_back(std::move(lock));
    run = RunProbe(current.Path(), outputFolder.File(L"out.txt"), options);
    ExpectMinidump(temporary.File(L"crash_dump.dmp"));
    ExpectBothLines(run);
    // Nowhere: the crash is left to the system, and nothing is added anywhere.
    for (UniqueHandle& lock : LockEveryDumpName(temporary.Path())) locks.push_back(std::move(lock));
    const size_t filesBefore = FilesIn(current.Path()).size();
    run = RunProbe(current.Path(), outputFolder.File(L"out.txt"), options);
    // The system's own handling may add its report after the first line; the second never comes.
    EXPECT_EQ(run.output.substr(0, kFirstLine.size()), kFirstLine);
    EXPECT_EQ(run.output.find(Utf16ToUtf8(L"Dump 文件已生成")), std::string::npos);
    EXPECT_EQ(FilesIn(current.Path()).size(), filesBefore);
    locks.clear();
    EXPECT_EQ(ReadBytes(current.File(L"crash_dump.dmp")), "");
}

TEST(CrashFilter, AStackOverflowStillLeavesADump) {
    TestFolder folder;
    TestFolder outputFolder;
    ProbeOptions options;
    options.argument = L"overflow";
    const ProbeRun run = RunProbe(folder.Path(), outputFolder.File(L"out.txt"), options);
    ExpectMinidump(folder.File(L"crash_dump.dmp"));
    ExpectBothLines(run);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(EXCEPTION_STACK_OVERFLOW));
}

TEST(CrashFilter, NeverWritesIntoADumpFileItDidNotCreate) {
    // Made by someone else in a shared folder: their file keeps their access, so it is left alone.
    TestFolder folder;
    TestFolder outputFolder;
    WriteBytes(folder.File(L"crash_dump.dmp"), "another account's file");
    const ProbeRun run = RunProbe(folder.Path(), outputFolder.File(L"out.txt"));
    EXPECT_EQ(ReadBytes(folder.File(L"crash_dump.dmp")), "another account's file");
    ASSERT_EQ(FilesIn(folder.Path()).size(), 2u);
    for (const std::wstring& name : FilesIn(folder.Path())) {
        if (name != L"crash_dump.dmp") ExpectMinidump(folder.File(name));
    }
    ExpectBothLines(run);
}

TEST(CrashFilter, TwoThreadsFaultingTogetherLeaveOneDumpAndTwoLines) {
    TestFolder folder;
    TestFolder outputFolder;
    ProbeOptions options;
    options.argument = L"two";
    const ProbeRun run = RunProbe(folder.Path(), outputFolder.File(L"out.txt"), options);
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::wstring>{L"crash_dump.dmp"});
    ExpectMinidump(folder.File(L"crash_dump.dmp"));
    ExpectBothLines(run);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

TEST(CrashFilter, AnOutputNobodyReadsDoesNotKeepTheDumpOrTheEndWaiting) {
    // A pipe already full, whose reader never reads: a write to it blocks.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, &inherit, 4096));
    UniqueHandle reader(read);
    DWORD mode = PIPE_NOWAIT;
    ASSERT_TRUE(SetNamedPipeHandleState(write, &mode, nullptr, nullptr));
    const std::string block(1024, 'x');
    DWORD written = 0;
    for (int i = 0; i < 4096 && WriteFile(write, block.data(), 1024, &written, nullptr) && written > 0; ++i) {
    }
    mode = PIPE_WAIT;
    ASSERT_TRUE(SetNamedPipeHandleState(write, &mode, nullptr, nullptr));
    TestFolder folder;
    const DWORD start = GetTickCount();
    const ProbeRun run = RunProbe(folder.Path(), L"", ProbeOptions{}, write);
    const DWORD elapsed = GetTickCount() - start;
    std::printf("a probe writing to a full pipe ended after %lu ms\n", static_cast<unsigned long>(elapsed));
    // Not a speed check: the dump waits at most 10 s and each line half a second, so only an end
    // held up by the pipe comes near this.
    EXPECT_LT(elapsed, 30000u) << "the probe waited for its output";
    ExpectMinidump(folder.File(L"crash_dump.dmp"));
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

namespace {

// Sets the file's last write time days before now.
void MakeOlder(const std::wstring& path, int days) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= static_cast<ULONGLONG>(days) * 24 * 3600 * 10000000;
    const FILETIME then{time.LowPart, time.HighPart};
    UniqueHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file.Valid());
    ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &then));
}

// The DACL of the file at path allows the current user alone, and nothing is inherited. Wine
// keeps a file's access as Unix modes and reads back what they say: the owner, and SYSTEM
// beside it, but no Everyone for a file others could read.
void ExpectOwnerOnly(const std::wstring& path) {
    HANDLE opened = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened));
    UniqueHandle token(opened);
    alignas(TOKEN_USER) BYTE user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    ASSERT_TRUE(GetTokenInformation(token.Get(), TokenUser, user, sizeof user, &size));
    const PSID me = reinterpret_cast<TOKEN_USER*>(user)->User.Sid;
    ACL* dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                    nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_NE(dacl, nullptr);
    BYTE system[SECURITY_MAX_SID_SIZE];
    DWORD systemSize = sizeof system;
    ASSERT_TRUE(CreateWellKnownSid(WinLocalSystemSid, nullptr, system, &systemSize));
    int mine = 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, &ace));
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        const bool isMe = EqualSid(&allowed->SidStart, me) != FALSE;
        mine += isMe;
        EXPECT_TRUE(isMe || (RunningUnderWine() && EqualSid(&allowed->SidStart, system))) << "ACE " << i;
    }
    EXPECT_EQ(mine, 1);
    if (!RunningUnderWine()) {
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        EXPECT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
        EXPECT_TRUE(control & SE_DACL_PROTECTED);
        EXPECT_EQ(dacl->AceCount, 1);
    }
    LocalFree(descriptor);
}

}  // namespace

TEST(CrashFilter, KeepsTheNewestThreeOfItsDumpsEachForItsUserAlone) {
    TestFolder folder, outputFolder;
    // Our earlier dumps, written 3, 2 and 1 days ago: the names' time stamps say otherwise.
    const std::wstring earlier[] = {L"crash_dump.dmp", L"crash_dump_20300101_000000.dmp",
                                    L"crash_dump_20200101_000000.dmp"};
    for (int i = 0; i < 3; ++i) {
        WriteBytes(folder.File(earlier[i]), "an earlier crash");
        MakeOlder(folder.File(earlier[i]), 3 - i);
    }
    // Other programs' files, older still.
    const std::wstring theirs[] = {L"crash_dump.txt", L"other_crash_dump.dmp", L"crash_dump_old.dmp"};
    for (const std::wstring& name : theirs) {
        WriteBytes(folder.File(name), "theirs");
        MakeOlder(folder.File(name), 10);
    }
    // The first crash takes a time-stamped name, the second the plain one the first freed.
    ExpectBothLines(RunProbe(folder.Path(), outputFolder.File(L"first.txt")));
    ExpectBothLines(RunProbe(folder.Path(), outputFolder.File(L"second.txt")));
    std::vector<std::wstring> ours;
    for (const std::wstring& name : FilesIn(folder.Path())) {
        if (std::find(std::begin(theirs), std::end(theirs), name) == std::end(theirs)) ours.push_back(name);
    }
    std::sort(ours.begin(), ours.end());
    ASSERT_EQ(ours.size(), 3u) << testing::PrintToString(ours);
    EXPECT_EQ(ours[0], L"crash_dump.dmp");
    EXPECT_EQ(ours[1], earlier[2]);
    EXPECT_TRUE(std::regex_match(Utf16ToUtf8(ours[2]), std::regex(R"(crash_dump_20\d{6}_\d{6}\.dmp)")));
    for (const std::wstring& name : {ours[0], ours[2]}) {
        ExpectMinidump(folder.File(name));
        ExpectOwnerOnly(folder.File(name));
    }
    for (const std::wstring& name : theirs) EXPECT_EQ(ReadBytes(folder.File(name)), "theirs");
}

TEST(CrashFilter, WritesNoDumpWhereTheDiskHasLessFreeSpaceThanItNeeds) {
    TestFolder current, program, temporary, outputFolder;
    const ProbeOptions options = ProbeCopiedInto(program, temporary);
    ASSERT_FALSE(options.exe.empty());
    ProbeRun run;
    {
        ScopedVariable least(L"SCREENSHOT_TEST_DUMP_MIN_FREE_BYTES", L"9999999999999999999");
        run = RunProbe(current.Path(), outputFolder.File(L"out.txt"), options);
    }
    EXPECT_EQ(run.output.substr(0, kFirstLine.size()), kFirstLine);
    EXPECT_EQ(run.output.find(Utf16ToUtf8(L"Dump 文件已生成")), std::string::npos);
    EXPECT_TRUE(FilesIn(current.Path()).empty());
    EXPECT_EQ(FilesIn(program.Path()), std::vector<std::wstring>{L"crash_probe.exe"});
    EXPECT_TRUE(FilesIn(temporary.Path()).empty());
    // With a least free space the disk has, the same crash leaves its dump.
    ScopedVariable least(L"SCREENSHOT_TEST_DUMP_MIN_FREE_BYTES", L"1048576");
    ExpectBothLines(RunProbe(current.Path(), outputFolder.File(L"with_room.txt"), options));
    ExpectMinidump(current.File(L"crash_dump.dmp"));
}
