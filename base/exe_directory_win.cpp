#include <windows.h>

#include <vector>

#include "base/exe_directory.h"
#include "base/folder_probe.h"

std::wstring GetModulePath(void* module) {
    // GetModuleFileNameW fills the buffer to the brim when the path does not fit; grow and retry.
    for (DWORD capacity = MAX_PATH; capacity <= 32768; capacity *= 2) {
        std::vector<wchar_t> buffer(capacity);
        const DWORD length = GetModuleFileNameW(static_cast<HMODULE>(module), buffer.data(), capacity);
        if (length == 0) return std::wstring();
        if (length < capacity) return std::wstring(buffer.data(), length);
    }
    return std::wstring();
}

std::wstring GetExeDirectory() { return ParentFolderOf(GetModulePath(nullptr)); }

bool ExeDirectoryWritable() {
    static const bool writable = CanCreateFilesIn(GetExeDirectory());
    return writable;
}
