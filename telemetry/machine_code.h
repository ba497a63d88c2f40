// The machine code: a random identifier kept in a hidden "app.id" file, so every record from one
// machine carries the same code across runs.
#pragma once

#include <string>

// The code kept in folder + "app.id" (folder ends with a separator), creating the folder (one
// level) and a new code when needed. Empty when the folder is unusable or no code can be made.
std::wstring MachineCodeIn(const std::wstring& folder);

// The code for the folder name under the roaming application-data folder (the current folder
// when that cannot be found).
std::wstring GetMachineCode(const std::wstring& folderName);
