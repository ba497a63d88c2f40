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
// How long the faulting thread waits for the dump.
constexpr DWORD kDumpWaitMs = 120000;

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
// overflowed its stack or while the heap is broken, so it only signals this writer's own thread
// and waits; the writer allocates nothing before the dump itself.
struct DumpWriter {
    HANDLE wake = nullptr;
    HANDLE done = nullptr;
    HANDLE thread = nullptr;
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

HANDLE CreateDumpFile(const wchar_t* path) {
    return CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The first dump file that can be made: in each folder the plain name, else a time-stamped one
// beside a read-only or locked dump from an earlier crash.
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

void CopyFolder(wchar_t (&to)[MAX_PATH], const std::wstring& folder) {
    if (folder.empty() || folder.size() + 1 >= MAX_PATH) return;
    std::wmemcpy(to, folder.c_str(), folder.size());
    to[folder.size()] = folder.back() == L'\\' ? L'\0' : L'\\';
}

}  // namespace

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* exceptionPointers) {
    DumpWriter& writer = Writer();
    writer.starting.Write();
    if (!writer.thread) return EXCEPTION_CONTINUE_SEARCH;
    writer.pointers = exceptionPointers;
    writer.faultingThread = GetCurrentThreadId();
    SetEvent(writer.wake);
    if (WaitForSingleObject(writer.done, kDumpWaitMs) != WAIT_OBJECT_0 || !writer.written) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    writer.finished.Write();
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
    if (writer.wake && writer.done) writer.thread = CreateThread(nullptr, 0, &WriteDumpWhenWoken, nullptr, 0, nullptr);
    SetUnhandledExceptionFilter(&CrashFilter);
}
