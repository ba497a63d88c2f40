// The folder of the running program, where the update files live, and config.json when the
// folder can be written.
#pragma once

#include <string>

// The folder part of path: everything before the last '\' or '/'; empty when there is none.
std::wstring ParentFolderOf(const std::wstring& path);

// The full path of a module of this process (null: the program itself); empty when it cannot
// be read. Paths longer than MAX_PATH are read whole. module is an HMODULE.
std::wstring GetModulePath(void* module = nullptr);

// The running executable's folder without a trailing separator; empty when the module path
// cannot be read. Callers treat empty as "no folder": nothing is read or written then.
std::wstring GetExeDirectory();

// Whether files can be made in the program's folder: a copy under Program Files or on a
// read-only share cannot (our manifest asks for no elevation, and so Windows redirects nothing).
// Found out by making a probe file at the first call; the answer holds for the whole run.
bool ExeDirectoryWritable();
