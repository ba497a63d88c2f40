#include "app/crash_dump_win.h"

#include <dbghelp.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "app/dump_retention.h"
#include "base/exe_directory.h"
#include "base/unique_handle.h"
#include "base/utf8_codec.h"

namespace {

constexpr wchar_t kDumpFileName[] = L"crash_dump.dmp";
// Data segments, handles, unloaded modules, process and thread data, private read-write memory,
// full memory information, thread information and token information.
constexpr MINIDUMP_TYPE kFullDumpType = static_cast<MINIDUMP_TYPE>(0x41B25);
// How long the faulting thread waits for the dump: a writer that itself crashed or hangs must
// not keep the process from ending. A full dump of a 4K capture takes a second or two.
constexpr DWORD kDumpWaitMs = 10000;
// How long it waits for a line of output: a pipe nobody reads blocks only the thread writing it.
constexpr DWORD kLineWaitMs = 500;
// How many of our dumps a folder keeps, the one just written among them.
constexpr size_t kDumpsKept = 3;
// Tests set the least free space a dump needs, in bytes, with this variable (DumpMinFreeBytes).
constexpr wchar_t kMinFreeVariable[] = L"SCREENSHOT_TEST_DUMP_MIN_FREE_BYTES";

// A security descriptor whose DACL allows the current user alone, inheriting nothing from the
// folder: a dump holds what was on the screen. Made at start, in buffers of its own.
class OwnerOnlyAccess {
public:
    // False when the user's SID cannot be read; Attributes() is then null.
    bool Make() {
        UniqueHandle token;
        HANDLE opened = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
        token.Reset(opened);
        alignas(TOKEN_USER) BYTE user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
        DWORD size = 0;
        if (!GetTokenInformation(token.Get(), TokenUser, user, sizeof user, &size)) return false;
        PSID sid = reinterpret_cast<TOKEN_USER*>(user)->User.Sid;
        ACL* acl = reinterpret_cast<ACL*>(acl_);
        if (!InitializeAcl(acl, sizeof acl_, ACL_REVISION) ||
            !AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) ||
            !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
            !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) ||
            !SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
            return false;
        }
        attributes_ = {sizeof attributes_, &descriptor_, FALSE};
        made_ = true;
        return true;
    }
    SECURITY_ATTRIBUTES* Attributes() { return made_ ? &attributes_ : nullptr; }

private:
    alignas(DWORD) BYTE acl_[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE] = {};
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool made_ = false;
};

// One line of output as the console wants it (UTF-16) and as a file or pipe does (UTF-8).
struct OutputLine {
    wchar_t wide[96] = {};
    DWORD wideLength = 0;
    char utf8[192] = {};
    DWORD utf8Length = 0;

    void Set(const std::wstring& text) {
        const std::wstring line = text + L"\r\n";
        wideLength = static_cast<DWORD>(std::min<size_t>(line.size(), sizeof wide / sizeof wide[0]));
        std::wmemcpy(wide, line.data(), wideLength);
        const std::string bytes = Utf16ToUtf8(line);
        utf8Length = static_cast<DWORD>(std::min(bytes.size(), sizeof utf8));
        std::memcpy(utf8, bytes.data(), utf8Length);
    }
    // Allocates nothing: it runs inside the crash filter.
    void Write() const {
        HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
        DWORD written = 0, mode = 0;
        if (GetConsoleMode(out, &mode)) {
            WriteConsoleW(out, wide, wideLength, &written, nullptr);
        } else {
            WriteFile(out, utf8, utf8Length, &written, nullptr);
        }
    }
};

// Everything the crash filter needs, made at start. The filter may run on a thread that has
// overflowed its stack or while the heap is broken, so it only signals this writer's own threads
// and waits, boundedly; the writer allocates nothing before the dump itself. One fault is handled
// at a time: the first claims the writer.
struct DumpWriter {
    HANDLE wake = nullptr;
    HANDLE done = nullptr;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    // The thread that writes the two lines of output, and the line it writes next.
    HANDLE say = nullptr;
    HANDLE said = nullptr;
    HANDLE sayer = nullptr;
    const OutputLine* line = nullptr;
    volatile LONG claimed = 0;
    MINIDUMP_TYPE type = MiniDumpNormal;
    // Where a dump may go, in order: the current folder (""), the program's, the temporary one;
    // each ends with a separator.
    wchar_t folders[3][MAX_PATH] = {};
    // Where the dump went: an index into folders.
    int folderWritten = -1;
    ULONGLONG minFreeBytes = 0;
    OwnerOnlyAccess access;
    OutputLine starting, finished;
    // Set by the filter before it wakes the writer; read by the writer.
    EXCEPTION_POINTERS* pointers = nullptr;
    DWORD faultingThread = 0;
    bool written = false;
};

DumpWriter& Writer() {
    static DumpWriter writer;
    return writer;
}

// Only a file this call creates, readable by the current user alone: a dump holds private memory
// (the frozen screen, typed text), and a file someone else made in a shared folder would keep
// their ownership and access.
HANDLE CreateDumpFile(DumpWriter& writer, const wchar_t* path) {
    return CreateFileW(path, GENERIC_WRITE, 0, writer.access.Attributes(), CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// Whether folder's disk has the free space a dump needs; true when it cannot be told.
bool RoomForDump(const DumpWriter& writer, const wchar_t* folder) {
    ULARGE_INTEGER free{};
    if (!GetDiskFreeSpaceExW(folder[0] ? folder : nullptr, &free, nullptr, nullptr)) return true;
    return free.QuadPart >= writer.minFreeBytes;
}

// The first dump file that can be made: in each folder with room the plain name, else a
// time-stamped one beside an existing dump. Sets folderWritten.
HANDLE OpenDumpFile(DumpWriter& writer) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t path[MAX_PATH + 64];
    for (int i = 0; i < 3; ++i) {
        const wchar_t* folder = writer.folders[i];
        if (i > 0 && folder[0] == L'\0') continue;  // not found at start
        if (!RoomForDump(writer, folder)) continue;
        writer.folderWritten = i;
        std::swprintf(path, sizeof path / sizeof path[0], L"%ls%ls", folder, kDumpFileName);
        HANDLE file = CreateDumpFile(writer, path);
        if (file != INVALID_HANDLE_VALUE) return file;
        std::swprintf(path, sizeof path / sizeof path[0], L"%lscrash_dump_%04u%02u%02u_%02u%02u%02u.dmp", folder,
                      now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
        file = CreateDumpFile(writer, path);
        if (file != INVALID_HANDLE_VALUE) return file;
    }
    writer.folderWritten = -1;
    return INVALID_HANDLE_VALUE;
}

// Deletes our older dumps in folder (ending with a separator, or empty for the current one), so
// that the newest few stay. Runs after the dump is written: it allocates.
void DeleteOlderDumps(const wchar_t* folder) {
    const std::wstring prefix(folder);
    std::vector<DumpFile> files;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((prefix + L"crash_dump*.dmp").c_str(), &data));
    if (!find) return;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const ULARGE_INTEGER time{{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}};
        files.push_back({data.cFileName, time.QuadPart});
    } while (FindNextFileW(find.Get(), &data));
    find.Reset();
    for (const std::wstring& name : DumpsToDelete(files, kDumpsKept)) DeleteFileW((prefix + name).c_str());
}

DWORD WINAPI WriteDumpWhenWoken(void*) {
    DumpWriter& writer = Writer();
    WaitForSingleObject(writer.wake, INFINITE);
    HANDLE file = OpenDumpFile(writer);
    if (file != INVALID_HANDLE_VALUE) {
        MINIDUMP_EXCEPTION_INFORMATION exception{};
        exception.ThreadId = writer.faultingThread;
        exception.ExceptionPointers = writer.pointers;
        exception.ClientPointers = FALSE;
        writer.written = MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file, writer.type,
                                           writer.pointers ? &exception : nullptr, nullptr, nullptr) != FALSE;
        CloseHandle(file);
    }
    if (writer.written) DeleteOlderDumps(writer.folders[writer.folderWritten]);
    SetEvent(writer.done);
    return 0;
}

DWORD WINAPI WriteLinesWhenAsked(void*) {
    DumpWriter& writer = Writer();
    for (;;) {
        WaitForSingleObject(writer.say, INFINITE);
        writer.line->Write();
        SetEvent(writer.said);
    }
}

// Has the output thread write line; waits a moment for it, never longer.
void Say(DumpWriter& writer, const OutputLine& line) {
    if (!writer.sayer) return;
    writer.line = &line;
    ResetEvent(writer.said);
    SetEvent(writer.say);
    WaitForSingleObject(writer.said, kLineWaitMs);
}

void CopyFolder(wchar_t (&to)[MAX_PATH], const std::wstring& folder) {
    if (folder.empty() || folder.size() + 1 >= MAX_PATH) return;
    std::wmemcpy(to, folder.c_str(), folder.size());
    to[folder.size()] = folder.back() == L'\\' ? L'\0' : L'\\';
}

}  // namespace

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* exceptionPointers) {
    DumpWriter& writer = Writer();
    if (writer.thread && GetCurrentThreadId() == writer.threadId) {
        // The writer itself faulted: the thread it was writing for goes on without a dump.
        SetEvent(writer.done);
        ExitThread(1);
    }
    if (InterlockedCompareExchange(&writer.claimed, 1, 0) != 0) {
        // Another thread's fault is being dumped, and the process ends with it.
        Sleep(kDumpWaitMs + 2 * kLineWaitMs + 1000);
        TerminateProcess(GetCurrentProcess(), exceptionPointers->ExceptionRecord->ExceptionCode);
        return EXCEPTION_CONTINUE_SEARCH;
    }
    if (writer.thread) {
        writer.pointers = exceptionPointers;
        writer.faultingThread = GetCurrentThreadId();
        SetEvent(writer.wake);
    }
    Say(writer, writer.starting);
    if (!writer.thread || WaitForSingleObject(writer.done, kDumpWaitMs) != WAIT_OBJECT_0 || !writer.written) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    Say(writer, writer.finished);
    return EXCEPTION_EXECUTE_HANDLER;
}

void InstallCrashFilter() {
    DumpWriter& writer = Writer();
    writer.type = kFullDumpType;
    writer.starting.Set(L"程序发生未处理异常，正在生成 dump 文件...");
    writer.finished.Set(L"Dump 文件已生成");
    wchar_t minFree[32] = {};
    const DWORD minFreeLength = GetEnvironmentVariableW(kMinFreeVariable, minFree, 32);
    writer.minFreeBytes = DumpMinFreeBytes(minFreeLength < 32 ? std::wstring(minFree, minFreeLength) : L"?");
    CopyFolder(writer.folders[1], GetExeDirectory());
    wchar_t temp[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    if (length > 0 && length < MAX_PATH) CopyFolder(writer.folders[2], std::wstring(temp, length));
    writer.wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    writer.done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Without a DACL of the user's own no dump is written: the folder's could let others read it.
    if (writer.access.Make() && writer.wake && writer.done) {
        writer.thread = CreateThread(nullptr, 0, &WriteDumpWhenWoken, nullptr, 0, &writer.threadId);
    }
    writer.say = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    writer.said = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (writer.say && writer.said) writer.sayer = CreateThread(nullptr, 0, &WriteLinesWhenAsked, nullptr, 0, nullptr);
    SetUnhandledExceptionFilter(&CrashFilter);
}
