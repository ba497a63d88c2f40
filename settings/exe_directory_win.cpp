#include <windows.h>

#include "settings/exe_directory.h"

std::wstring GetExeDirectory() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return std::wstring();
    return ParentFolderOf(std::wstring(buffer, length));
}
