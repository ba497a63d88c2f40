// The folder of the running program, where config.json and the update files live.
#pragma once

#include <string>

// The folder part of path: everything before the last '\' or '/'; empty when there is none.
std::wstring ParentFolderOf(const std::wstring& path);

// The running executable's folder without a trailing separator; empty when the module path
// cannot be read or may have been truncated (it filled the whole 260-character buffer).
std::wstring GetExeDirectory();
