// A function of a system DLL looked up by name at run time, for what older systems (or Wine)
// may lack: null when the DLL or the function is missing. Callers keep the result in a static.
#pragma once

#include <windows.h>

#include <string>

// Whether the environment variable SCREENSHOT_TEST_MISSING_FUNCTIONS (read once) names the function
// in its comma-separated list: tests make the program take the path of a system that lacks it.
bool SystemFunctionHiddenByTest(const char* name);

template <typename Fn>
Fn SystemFunction(const wchar_t* dll, const char* name) {
    if (SystemFunctionHiddenByTest(name)) return nullptr;
    HMODULE module = GetModuleHandleW(dll);
    if (!module) {
        // Loaded by its full path in the system folder, never found in the program's folder or
        // the current one, where anybody who can write there could plant a DLL of that name.
        wchar_t system[MAX_PATH];
        const UINT length = GetSystemDirectoryW(system, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return nullptr;
        const std::wstring path = std::wstring(system, length) + L"\\" + dll;
        module = LoadLibraryW(path.c_str());  // kept loaded for the life of the process
    }
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
