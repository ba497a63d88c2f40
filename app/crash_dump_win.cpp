#include "app/crash_dump_win.h"

#include <dbghelp.h>

#include <string>

#include "base/timestamped_name.h"
#include "base/unique_handle.h"
#include "base/utf8_codec.h"

namespace {

// Relative, so the dump lands in the current folder.
const wchar_t kDumpFileName[] = L"crash_dump.dmp";
// Data segments, handles, unloaded modules, process and thread data, private read-write memory,
// full memory information, thread information and token information.
constexpr MINIDUMP_TYPE kFullDumpType = static_cast<MINIDUMP_TYPE>(0x41B25);

// Written once before the filter is installed, only read by it afterwards.
bool g_fullDump = false;

// One line on standard output: as text on a console, as UTF-8 when redirected to a file or pipe.
void WriteConsoleLine(const std::wstring& text) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    const std::wstring line = text + L"\r\n";
    DWORD written = 0;
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    const std::string bytes = Utf16ToUtf8(line);
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

UniqueHandle CreateDumpFile(const std::wstring& name) {
    return UniqueHandle(
        CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* exceptionPointers) {
    WriteConsoleLine(L"程序发生未处理异常，正在生成 dump 文件...");
    UniqueHandle file = CreateDumpFile(kDumpFileName);
    // A read-only or locked dump from an earlier crash: keep it and write beside it.
    if (!file) file = CreateDumpFile(MakeTimestampedName(L"crash_dump", L"dmp"));
    if (!file) return EXCEPTION_CONTINUE_SEARCH;

    MINIDUMP_EXCEPTION_INFORMATION exception{};
    exception.ThreadId = GetCurrentThreadId();
    exception.ExceptionPointers = exceptionPointers;
    exception.ClientPointers = FALSE;
    MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file.Get(),
                      g_fullDump ? kFullDumpType : MiniDumpNormal, exceptionPointers ? &exception : nullptr,
                      nullptr, nullptr);
    file.Reset();
    WriteConsoleLine(L"Dump 文件已生成");
    return EXCEPTION_EXECUTE_HANDLER;
}

void InstallCrashFilter() {
    g_fullDump = true;
    SetUnhandledExceptionFilter(&CrashFilter);
}
