// A function of a system DLL looked up by name at run time, for what older systems (or Wine)
// may lack: null when the DLL or the function is missing. Callers keep the result in a static.
#pragma once

#include <windows.h>

template <typename Fn>
Fn SystemFunction(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadLibraryW(dll);  // kept loaded for the life of the process
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
