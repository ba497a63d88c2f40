#include "app/crash_dump_win.h"

#include <dbghelp.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "base/exe_directory.h"
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

// Only a file this call creates: a dump holds private memory (the frozen screen, typed text), and
// a file someone else made in a shared folder would keep their ownership and access.
HANDLE CreateDumpFile(const wchar_t* path) {
    return CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The first dump file that can be made: in each folder the plain name, else a time-stamped one
// beside an existing dump.
HANDLE OpenDumpFile(const DumpWriter& writer) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t path[MAX_PATH + 64];
    for (const wchar_t* folder : writer.folders) {
        if (folder != writer.folders[0] && folder[0] == L'\0') continue;  // not found at start
        std::swprintf(path, sizeof path / sizeof path[0], L"%ls%ls", folder, kDumpFileName);
        HANDLE file = CreateDumpFile(path);
        if (file != INVALID_HANDLE_VALUE) return file;
        std::swprintf(path, sizeof path / sizeof path[0], L"%lscrash_dump_%04u%02u%02u_%02u%02u%02u.dmp", folder,
                      now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
        file = CreateDumpFile(path);
        if (file != INVALID_HANDLE_VALUE) return file;
    }
    return INVALID_HANDLE_VALUE;
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
    CopyFolder(writer.folders[1], GetExeDirectory());
    wchar_t temp[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    if (length > 0 && length < MAX_PATH) CopyFolder(writer.folders[2], std::wstring(temp, length));
    writer.wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    writer.done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (writer.wake && writer.done) {
        writer.thread = CreateThread(nullptr, 0, &WriteDumpWhenWoken, nullptr, 0, &writer.threadId);
    }
    writer.say = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    writer.said = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (writer.say && writer.said) writer.sayer = CreateThread(nullptr, 0, &WriteLinesWhenAsked, nullptr, 0, nullptr);
    SetUnhandledExceptionFilter(&CrashFilter);
}
