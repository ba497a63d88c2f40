#include "base/dll_search.h"

#include <windows.h>
#include <delayimp.h>

#include <string>

#include "base/system_function.h"

namespace {

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

std::wstring Widen(const char* ascii) {
    std::wstring wide;
    for (const char* c = ascii; *c; ++c) wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return wide;
}

// Nothing can go on without a system DLL or one of its functions: said once, plainly, instead of
// an access violation somewhere later.
[[noreturn]] void ExitForMissing(const PDelayLoadInfo info, const std::wstring& path) {
    std::wstring what = path;
    if (info->dlp.fImportByName) {
        what += L" \u2192 " + Widen(info->dlp.szProcName);
    } else {
        what += L" \u2192 #" + std::to_wstring(info->dlp.dwOrdinal);
    }
    const std::wstring text = L"\u622a\u56fe\u5de5\u5177\u65e0\u6cd5\u8fd0\u884c\uff1aWindows \u7cfb\u7edf"
                              L"\u6587\u4ef6\u7f3a\u5931\u6216\u7248\u672c\u8fc7\u65e7\u3002\n\n"
                              L"Screenshot cannot run: a Windows system file is missing or too old.\n\n" + what;
    MessageBoxW(nullptr, text.c_str(), L"Screenshot", MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
    ExitProcess(kMissingSystemDllExitCode);
}

// Loads a delay-loaded DLL by its full path in the system folder. The DLLs it needs in turn are
// looked for beside it first (LOAD_WITH_ALTERED_SEARCH_PATH), which is the system folder too.
FARPROC WINAPI OnDelayLoad(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary) return nullptr;
    const std::wstring path = SystemFolder() + L"\\" + Widen(info->szDll);
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    // Returning null would let the helper load the name by the ordinary search.
    if (!module) ExitForMissing(info, path);
    return reinterpret_cast<FARPROC>(module);
}

FARPROC WINAPI OnDelayLoadFailure(unsigned, PDelayLoadInfo info) {
    ExitForMissing(info, SystemFolder() + L"\\" + Widen(info->szDll));
}

}  // namespace

// The delay-load helper's hooks (MinGW's __delayLoadHelper2 calls them): linked into a program
// together with LoadDllsFromSystemFolderOnly.
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = OnDelayLoad;
PfnDliHook __pfnDliFailureHook2 = OnDelayLoadFailure;
}

void LoadDllsFromSystemFolderOnly() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    static const auto setDefaultDllDirectories =
        SystemFunction<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories");
    if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Everywhere: the current folder drops out of the search (Windows XP SP1 on).
    SetDllDirectoryW(L"");
}
